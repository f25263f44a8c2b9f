#ifndef N_GUISLIDER2_H
#define N_GUISLIDER2_H
//------------------------------------------------------------------------------
/**
    @class nGuiSlider2
    @ingroup Gui

    The smallest vertical slider the text view needs: a track and a thumb
    over a range. The owner sets the range size, the current value (the
    first visible entry) and the visible range size; a click or drag on
    the track moves the thumb there and posts SliderChanged, after which
    the owner reads the current value. It is 0.02 screen units wide at
    most, so that a view that ties it to its right edge keeps it narrow.
*/
#include "gui/nguiwidget.h"

class nGuiSlider2 : public nGuiWidget
{
public:
    nGuiSlider2();

    bool OnButtonDown(const vector2& mousePos) override;
    bool OnButtonUp(const vector2& mousePos) override;
    bool OnMouseMoved(const vector2& mousePos) override;
    void Render() override;

    void SetRangeSize(float f);
    float GetRangeSize() const { return this->rangeSize; }
    void SetCurrentValue(float f);
    float GetCurrentValue() const { return this->currentValue; }
    void SetVisibleRangeSize(float f);
    float GetVisibleRangeSize() const { return this->visibleRangeSize; }
    /// whether a value changed since the flag was last cleared
    bool IsChanged() const { return this->changed; }
    void ClearChanged() { this->changed = false; }
    /// the thumb's screen rectangle
    rectangle ThumbRect() const;

protected:
    ~nGuiSlider2() override;

    /// move the thumb's top to the mouse and post SliderChanged
    void Drag(const vector2& mousePos);
    void Store(float& field, float f);

    float rangeSize;
    float currentValue;
    float visibleRangeSize;
    bool changed;
    bool dragging;
};
#endif
