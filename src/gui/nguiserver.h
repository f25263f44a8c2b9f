#ifndef N_GUISERVER_H
#define N_GUISERVER_H
//------------------------------------------------------------------------------
/**
    @class nGuiServer
    @ingroup Gui

    The 2-D user interface over the 3-D scene (singleton at
    "/sys/servers/gui"): the gui root node, the current root window and
    the windows below it, the skins, the system fonts, the tooltip and
    drag-box widgets and the event listeners. Each frame it feeds the
    input server's mouse and keyboard events into the widget tree; the
    render path's GUI pass calls Render, which draws every brush as quads
    streamed through one dynamic mesh with "shaders:gui.fx" and keeps the
    texts of a pass together, so that their glyphs are drawn at once over
    the brushes before them (a brush that would cover kept text draws it
    first). Coordinates
    are screen units: x 0 (left) to 1 (right), y 0 (top) to 1 (bottom).
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "kernel/nkernelserver.h"
#include "mathlib/rectangle.h"
#include "mathlib/vector2.h"
#include "mathlib/vector4.h"
#include "util/nstring.h"
#include "gui/nguievent.h"
#include "gfx2/ndynamicmesh.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class nGuiWidget;
class nGuiWindow;
class nGuiToolTip;
class nGuiSkin;
class nGuiBrush;
class nTexture2;
class nShader2;
class matrix44;

class nGuiServer : public nRoot
{
public:
    nGuiServer();

    /// the one GUI server (asserted)
    static nGuiServer* Instance();
    /// the one GUI server, or null while none exists
    static nGuiServer* InstanceOrNull() { return Singleton; }
    /// the object at path when it is of the class, else null
    template <class T> static T* FindServer(const char* path, const char* className)
    {
        nRoot* obj = nKernelServer::Instance()->Lookup(path);
        return (obj && obj->IsA(className)) ? static_cast<T*>(obj) : nullptr;
    }

    virtual void SetRootPath(const char* path);
    const char* GetRootPath() const { return this->rootPath.Get(); }
    /// the gui root node, or null when it does not exist
    nRoot* GetGuiRoot();
    /// the display size in pixels
    virtual void SetDisplaySize(const vector2& size) { this->displaySize = size; }
    const vector2& GetDisplaySize() const { return this->displaySize; }
    /// (1 / width, 1 / height)
    vector2 GetPixelSize() const;

    virtual bool Open();
    virtual void Close();
    bool IsOpen() const { return this->isOpen; }

    virtual void SetTime(double t) { this->curTime = t; }
    double GetTime() const { return this->curTime; }

    /// the child of the gui root of that name becomes the root window (null clears it)
    void SetRootWindow(const char* name);
    /// the root window's name, or null
    const char* GetRootWindow() const;
    virtual void SetRootWindowPointer(nGuiWindow* window);
    nGuiWindow* GetRootWindowPointer() const;
    /// a new window of the class below the root window; null when none could be made
    virtual nGuiWindow* NewWindow(const char* className, bool visible);
    /// a new skin under "/sys/share/rsrc/skins"
    nGuiSkin* NewSkin(const char* skinName);
    /// whether a skin of that name exists
    bool HasSkin(const char* skinName) const;
    void SetSkin(nGuiSkin* skin);
    nGuiSkin* GetSkin() const;
    void SetSystemSkin(nGuiSkin* skin);
    nGuiSkin* GetSystemSkin() const;
    virtual void ToggleSystemGui();
    bool IsSystemGuiActive() const { return this->systemGuiActive; }

    /// make (or redescribe) a font resource of a system type face
    bool AddSystemFont(const char* fontName, const char* typeFace, int height, bool bold, bool italic,
                       bool underline);
    /// make (or redescribe) a font resource from a font file
    bool AddCustomFont(const char* fontName, const char* fontFile, const char* typeFace, int height, bool bold,
                       bool italic, bool underline);

    bool IsMouseOverGui() const;
    const vector2& GetMousePos() const { return this->curMousePos; }

    void ShowToolTip(const char* text, const vector4& color);
    void HideToolTip();
    bool IsToolTipShown() const;
    double GetToolTipDelay() const { return this->toolTipDelay; }
    double GetToolTipFadeTime() const { return this->toolTipFadeTime; }

    /// run a command with the widget as the current object; false for an empty command
    bool RunCommand(nGuiWidget* widget, const char* command);
    void RegisterEventListener(nGuiWidget* widget);
    void UnregisterEventListener(nGuiWidget* widget);
    void PutEvent(const nGuiEvent& event);

    void SetDragBox(nGuiWidget* dragBox);
    nGuiWidget* GetDragBox() const;

    void SetGlobalColor(const vector4& c) { this->globalColor = c; }
    const vector4& GetGlobalColor() const { return this->globalColor; }

    void DrawBrush(const rectangle& rect, nGuiBrush& brush);
    void DrawTexture(const rectangle& rect, const rectangle& uvRect, const vector4& color, nTexture2* tex);
    void DrawText(const char* text, const vector4& color, const rectangle& rect, uint flags);
    /// draw what is queued: the brushes, then the text over them
    void FlushBrushes();

    void PushClipRect(const rectangle& rect);
    bool GetClipRect(rectangle& rect) const;

    /// the brush's size on screen; the brush must resolve
    vector2 ComputeScreenSpaceBrushSize(const char* brushName);
    /// whether the current or the system skin has the brush
    bool CanResolveBrush(const char* brushName) const;
    /// move a rectangle onto the screen, keeping its size
    static void MoveRectToVisibleArea(rectangle& rect);
    /// play the current skin's sound of that index
    void PlaySound(int index);
    /// whether the current skin has a brush of that name
    bool HasBrush(const char* name) const;
    /// logs that no skin has the brush, the first time the name is missed
    void ReportMissingBrush(const nString& name);

    void DiscardWindows(const char* windowClass);
    nGuiWindow* FindWindowByClass(const char* windowClass, nGuiWindow* prev);

    virtual void Trigger();
    virtual void Render();

    /// the model matrix that puts the unit quad of the GUI on the screen
    static matrix44 ComputeGuiTransform(const matrix44& projection, float nearPlane);

protected:
    ~nGuiServer() override;

private:
    /// run one of the "OnGuiServer..." hooks; fatal when it fails
    void RunHook(const char* function, const char* failMessage);
    /// the gui root node, made again when it does not exist
    nRoot* MakeGuiRoot();
    bool ValidateMesh();
    bool ValidateShader();
    /// draw the queued brushes and start a new batch
    void DrawBrushBatch();
    /// draw the text the graphics server keeps
    void DrawPendingText();
    void SetBatchTexture(nTexture2* tex);
    /// hold the texture the effect names (null lets the held one go)
    void HoldTexture(nTexture2* tex);
    void SetBatchColor(const vector4& c);
    void DispatchInput();
    void RemoveDismissedWindows();

    nString rootPath;
    nRef<nRoot> refGui;
    nRef<nGuiWindow> refRootWindow;
    nRef<nGuiToolTip> refToolTip;
    nStrongRef<nRoot> refSkins;
    nRef<nGuiSkin> refCurrentSkin;
    nRef<nGuiWidget> refDragBox;
    nClass* guiWindowClass;
    int uniqueWindowId;
    bool isOpen;
    vector2 curMousePos;
    double curTime;
    vector4 globalColor;
    bool toolTipSet;
    double toolTipFadeTime;
    double toolTipDelay;
    std::vector<std::unique_ptr<nRef<nGuiWidget>>> eventListeners;
    nStrongRef<nGuiWindow> refSystemRootWindow;
    nRef<nGuiSkin> refSystemSkin;
    nRef<nGuiWindow> refUserRootWindow;
    nRef<nGuiSkin> refUserSkin;
    bool systemGuiActive;
    nDynamicMesh dynMesh;
    nRef<nShader2> refShader;
    nTexture2* curTexture;
    vector4 curColor;
    int maxVertices;
    float* vertexPointer;
    int curVertex;
    /// the texture the GUI effect names, held (one reference) until another replaces it or
    /// its pool is deleted
    nStrongRef<nTexture2> heldTexture;
    vector2 displaySize;
    std::vector<rectangle> clipRectStack;
    /// whether text handed over in this pass waits in the graphics server
    /// to be drawn over the brushes
    bool textPending;
    /// the screen area that text can cover
    rectangle textArea;
    /// whether queued brushes came before kept text (and must be drawn before it)
    bool brushesUnderText;
    /// the brush names already reported missing
    std::set<std::string> missingBrushes;

    static nGuiServer* Singleton;
};
#endif
