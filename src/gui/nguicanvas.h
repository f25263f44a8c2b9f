#ifndef N_GUICANVAS_H
#define N_GUICANVAS_H
//------------------------------------------------------------------------------
/**
    @class nGuiCanvas
    @ingroup Gui

    Draws coloured polylines (curves) and text labels placed in canvas
    units (0..1 of the canvas) above its default brush. The curves are
    turned into pixel positions once per change (after EndCurve, SetRect
    or a focus gain) and go through the graphics server's 2-D lines. Label
    and line alpha follow the owner window's colour.
*/
#include "gui/nguiwidget.h"

#include <vector>

class nGuiCanvas : public nGuiWidget
{
public:
    /// one run of connected line vertices
    struct LineRun
    {
        int firstVertex;
        int numVertices;
        vector4 color;
    };

    nGuiCanvas();

    void Render() override;
    void SetRect(const rectangle& r) override;
    void OnObtainFocus() override;
    void OnShow() override;

    /// start a curve of that colour
    void BeginCurve(float r, float g, float b, float a);
    /// append a segment (start point and delta, canvas units) to the curve
    /// being defined; false outside BeginCurve/EndCurve
    bool AddLineSegment(const vector2& start, const vector2& delta);
    void EndCurve();
    /// a label at pos (canvas units); results: its id
    int AddTextLabel(const char* text, const vector2& pos, const vector4& color, const char* font);
    /// the label's rectangle relative to the canvas; empty for an unknown id
    rectangle GetTextLabelRect(int id);
    /// rebuild the pixel vertices and runs from the curves
    void Update();

    bool IsDirty() const { return this->dirty; }
    int GetNumCurves() const { return int(this->curves.size()); }
    const std::vector<LineRun>& GetLineRuns() const { return this->lineRuns; }
    const std::vector<vector2>& GetVertices() const { return this->vertices; }
    /// how often the vertices were rebuilt
    int GetNumUpdates() const { return this->numUpdates; }

protected:
    ~nGuiCanvas() override;

private:
    struct Segment
    {
        vector2 start;
        vector2 delta;
    };
    struct Curve
    {
        std::vector<Segment> segments;
        vector4 color;
    };
    struct TextLabel
    {
        int id;
        vector4 color;
        vector2 pos;
        nString text;
        nString font;
    };

    /// the alpha of the owner window's colour, 1 without a window
    float OwnerAlpha() const;
    void RenderLabels(float alpha);
    void RenderLines(float alpha);

    std::vector<Curve> curves;
    std::vector<TextLabel> textLabels;
    std::vector<LineRun> lineRuns;
    bool inCurve;
    bool dirty;
    int activeCurveId;
    std::vector<vector2> vertices;
    vector4 curveColor;
    int numUpdates;
};
#endif
