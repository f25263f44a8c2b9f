#ifndef N_GUIFORMLAYOUT_H
#define N_GUIFORMLAYOUT_H
//------------------------------------------------------------------------------
/**
    @class nGuiFormLayout
    @ingroup Gui

    Places its child widgets by attachments: an edge of a child is tied to
    an edge of the form, to a fraction of the form's size, or to the
    opposite edge of another widget. Setting the form's rectangle while it
    is shown applies all attachments in three passes (form and position,
    position again, widget), each step limited by the child's minimum and
    maximum size. Attachments whose widget has died are skipped.
*/
#include "gui/nguiwidget.h"

#include <memory>
#include <vector>

class nGuiFormLayout : public nGuiWidget
{
public:
    enum Edge
    {
        Top = 1,
        Bottom = 2,
        Left = 3,
        Right = 4,
        HCenter = 5,
        VCenter = 6,
    };

    nGuiFormLayout();

    /// tie an edge of the widget to the same edge of the form
    int AttachForm(nGuiWidget* widget, Edge edge, float offset);
    /// tie an edge of the widget to the opposite edge of another widget
    int AttachWidget(nGuiWidget* widget, Edge edge, nGuiWidget* other, float offset);
    /// tie an edge of the widget to a fraction of the form's size
    int AttachPos(nGuiWidget* widget, Edge edge, float pos);
    void DetachAll();
    int GetNumAttachments() const { return int(this->attachments.size()); }

    /// lay the children out in a form of r's size
    virtual void UpdateLayout(const rectangle& r);
    void SetRect(const rectangle& r) override;

    /// the edge of a script name ("top", "bottom", "left", "right"); 0 for others
    static int EdgeFromString(const char* name);

protected:
    ~nGuiFormLayout() override;

private:
    enum Type
    {
        Form = 0,
        Widget = 1,
        Pos = 2,
    };
    struct Attachment
    {
        Type type;
        nRef<nGuiWidget> widget;
        nRef<nGuiWidget> other;
        Edge edge;
        float offset;
    };

    int Append(Type type, nGuiWidget* widget, Edge edge, nGuiWidget* other, float offset);
    static void ApplyLimits(rectangle& c, Edge edge, const vector2& minSize, const vector2& maxSize);
    static void CenterOn(rectangle& c, Edge edge, float middle);
    void ApplyForm(const Attachment& a, float w, float h);
    void ApplyPos(const Attachment& a, float w, float h);
    void ReapplyPos(const Attachment& a, float w, float h);
    void ApplyWidget(const Attachment& a);
    void LayOut(float w, float h, const nRef<nGuiWidget>& self);

    std::vector<std::unique_ptr<Attachment>> attachments;
    /// set while this form lays out: a cycle of attachments back to it ends there
    bool inLayout = false;
};
#endif
