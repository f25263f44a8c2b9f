//------------------------------------------------------------------------------
//  nguitextwindow.cc
//------------------------------------------------------------------------------
#include "gui/nguitextwindow.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include <cstring>

namespace
{

/// the longest line read from the file
const int MaxLineLength = 1024;
/// the gap between the view, the button and the layout's edges
const float Gap = 0.005f;

}  // namespace

nGuiTextWindow::nGuiTextWindow()
{
}

nGuiTextWindow::~nGuiTextWindow()
{
}

/*
 * CallView --
 *     Results: false (with a message) when the text view is missing or has
 *     no command of that prototype.
 *     Side effects: runs the command with arg as its one string input (if
 *     it takes one).
 */
bool nGuiTextWindow::CallView(const char* protoDef, const char* arg)
{
    nGuiWidget* view = this->refTextView.get_unsafe();
    if (!view) return false;
    char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
    n_assert(nCmdProto::ParseProtoDef(protoDef, outs, name, ins));
    nCmdProto* proto = view->GetClass()->FindCmdByName(name);
    if (!proto || 0 != strcmp(proto->GetProtoDef(), protoDef))
    {
        n_printf("nGuiTextWindow: the text view has no command '%s'\n", protoDef);
        return false;
    }
    nCmd* cmd = proto->NewCmd();
    if (proto->GetNumInArgs() == 1) cmd->In()->SetS(arg);
    cmd->Rewind();
    view->Dispatch(cmd);
    proto->RelCmd(cmd);
    return true;
}

/*
 * CreateContent --
 *     Side effects: with the layout as the current object, a text button
 *     "CloseButton" attached to the layout's right and bottom, and a text
 *     view "TextView" attached to the top, left and right and with its
 *     bottom above the button; each is shown.
 */
void nGuiTextWindow::CreateContent(nGuiFormLayout* layout)
{
    nGuiSkin* skin = nGuiServer::Instance()->GetSkin();
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(layout);
    nGuiTextButton* btn = static_cast<nGuiTextButton*>(NewChild("nguitextbutton", "CloseButton"));
    if (btn)
    {
        btn->SetText("Close");
        btn->SetFont("GuiSmall");
        btn->SetAlignment(nGuiTextLabel::Center);
        btn->SetDefaultBrush("button_n");
        btn->SetPressedBrush("button_p");
        btn->SetHighlightBrush("button_h");
        const vector2 size = BrushSize("button_n");
        btn->SetMinSize(size);
        btn->SetMaxSize(size);
        btn->SetColor(skin->GetButtonTextColor());
        layout->AttachForm(btn, nGuiFormLayout::Right, Gap);
        layout->AttachForm(btn, nGuiFormLayout::Bottom, Gap);
        this->refCloseButton.adopt(btn);
        btn->OnShow();
    }
    nRoot* view = ks->FindClass("nguitextview") ? NewChild("nguitextview", "TextView") : nullptr;
    if (view && view->IsA(WidgetClass()))
    {
        nGuiWidget* w = static_cast<nGuiWidget*>(view);
        this->refTextView.adopt(w);
        w->SetDefaultBrush("list_background");
        this->CallView("v_setfont_s", "GuiDefault");
        layout->AttachForm(w, nGuiFormLayout::Top, Gap);
        layout->AttachForm(w, nGuiFormLayout::Left, Gap);
        layout->AttachForm(w, nGuiFormLayout::Right, Gap);
        if (btn) layout->AttachWidget(w, nGuiFormLayout::Bottom, btn, Gap);
        w->OnShow();
    }
    else
    {
        n_printf("nGuiTextWindow %s: no text view class, the text is not shown\n", this->GetName());
    }
    ks->PopCwd();
}

/*
 * OnShow --
 *     Side effects: the client window's OnShow, the window's rectangle
 *     (0.15,0.15)-(0.85,0.85), the Close button and the text view in the
 *     layout, the text loaded and everything laid out.
 */
void nGuiTextWindow::OnShow()
{
    nRef<nGuiWidget> self(this);
    nGuiClientWindow::OnShow();
    if (!self.isvalid()) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || !gui->GetSkin()) return;
    this->SetRect(rectangle(vector2(0.15f, 0.15f), vector2(0.85f, 0.85f)));
    nGuiFormLayout* layout = this->GetFormLayout();
    if (layout && !this->refCloseButton.isvalid() && !this->refTextView.isvalid()) this->CreateContent(layout);
    this->LoadText();
    this->UpdateLayout(this->rect);
}

/*
 * LoadText --
 *     Side effects: the text view gets "No filename!" without a file name,
 *     the file's lines (each at most 1024 characters, without the line
 *     end), or "Could not open text file '<name>'!".
 */
void nGuiTextWindow::LoadText()
{
    if (!this->refTextView.isvalid()) return;
    this->CallView("v_beginappend_v", nullptr);
    if (this->textFile.IsEmpty())
    {
        this->CallView("v_appendline_s", "No filename!");
    }
    else
    {
        nFile* file = nKernelServer::Instance()->GetFileServer()->NewFileObject();
        if (file->Open(this->textFile.Get(), "r"))
        {
            char line[MaxLineLength];
            while (file->GetS(line, sizeof(line)))
            {
                size_t len = strlen(line);
                while (len > 0 && ('\n' == line[len - 1] || '\r' == line[len - 1])) line[--len] = 0;
                this->CallView("v_appendline_s", line);
            }
            file->Close();
        }
        else
        {
            nString msg("Could not open text file '");
            msg += this->textFile;
            msg += "'!";
            this->CallView("v_appendline_s", msg.Get());
        }
        file->Release();
    }
    this->CallView("v_endappend_v", nullptr);
}

void nGuiTextWindow::OnHide()
{
    this->refTextView.reset();
    this->refCloseButton.reset();
    nGuiClientWindow::OnHide();
}

void nGuiTextWindow::OnEvent(const nGuiEvent& event)
{
    if (event.GetWidget() && event.GetWidget() == this->refCloseButton.get_unsafe() &&
        nGuiEvent::ButtonUp == event.GetType())
    {
        this->Close();
    }
    nGuiClientWindow::OnEvent(event);
}
