//------------------------------------------------------------------------------
//  The GUI's two hot paths beside baselines measured in the same run:
//  - a frame of 1,000 brushes in runs of 50 (alternating two textures, so
//    20 batches) plus 100 text labels of 20 characters, drawn by the GUI
//    server on the OpenGL device, beside the same vertices uploaded and
//    drawn by hand batch by batch with a program of the same kind; the
//    server's draw-call statistic is reported as a counter;
//  - the same frame drawn by hand: the same 1,000 brush quads on two
//    textures of the same size and the labels' 2,000 glyph quads on the
//    font's own atlas, in one vertex buffer filled every frame, drawn with
//    one plain program (one draw per texture run), between the server's
//    begin and present (the same target, clear and present);
//  - the GUI server's Trigger over 1,000 widgets beside a bare walk of the
//    same tree;
//  - a window of 100 text labels alone, drawn by the GUI server, beside
//    the same 100 strings in the same font, rectangles and flags drawn
//    straight with the graphics server's DrawText, each in a whole frame.
//  - appending 100,000 and 200,000 lines to a text view beside appending
//    them to a std::vector of strings (the growth should stay linear).
//  Runs headless on SDL's offscreen driver unless SDL_VIDEODRIVER names
//  another.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "audio3/naudio3package.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9font.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/ngfx2package.h"
#include "gui/nguipackage.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguitextlabel.h"
#include "gui/nguitextview.h"
#include "gui/nguiwindow.h"
#include "input/ninputpackage.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourcepackage.h"
#include "resource/nresourceserver.h"

#include <GL/glcorearb.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

namespace
{

const int NumBrushes = 1000;
const int RunLength = 50;
const int NumLabels = 100;
const int NumWidgets = 1000;

const char* const rawVertex = "#version 330 core\nlayout(location = 0) in vec3 pos;\n"
                              "layout(location = 2) in vec2 uv0;\nout vec2 uv;\n"
                              "void main() { gl_Position = vec4(pos * 2.0, 1.0); uv = uv0; }\n";
const char* const rawFragment = "#version 330 core\nuniform sampler2D tex;\nuniform vec4 color;\nin vec2 uv;\n"
                                "out vec4 fragColor;\nvoid main() { fragColor = texture(tex, uv) * color; }\n";

/// the display, an open GUI server with a root window, a skin of two brushes on two textures
struct Frame
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, naudio3_package, nd3d9_package, ngui_package};
    nD3D9Server* gfx = nullptr;
    nGuiServer* gui = nullptr;
    nGuiWindow* root = nullptr;

    Frame()
    {
        nFileServer2::Instance()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, 640, 480, false));
        if (!this->gfx->OpenDisplay())
        {
            fprintf(stderr, "no display\n");
            exit(1);
        }
        this->gfx->SetCamera(nCamera2());
        unsigned char img[16 * 16 * 4];
        for (int i = 0; i < 16 * 16 * 4; i++) img[i] = (unsigned char)(i * 7);
        stbi_write_bmp("/tmp/gui_bench_a.bmp", 16, 16, 4, img);
        stbi_write_bmp("/tmp/gui_bench_b.bmp", 16, 16, 4, img);
        this->gui = static_cast<nGuiServer*>(this->ks.New("nguiserver", "/sys/servers/gui"));
        this->gui->SetRootPath("/gui");
        this->gui->SetDisplaySize(vector2(640.0f, 480.0f));
        this->gui->Open();
        this->root = this->gui->NewWindow("nguiwindow", true);
        this->gui->SetRootWindowPointer(this->root);
        nGuiSkin* skin = this->gui->NewSkin("bench");
        skin->SetTexturePrefix("/tmp/gui_bench_");
        skin->SetTexturePostfix(".bmp");
        skin->AddBrush("a", "a", vector2(0, 0), vector2(16, 16), vector4(1, 1, 1, 1));
        skin->AddBrush("b", "b", vector2(0, 0), vector2(16, 16), vector4(1, 1, 1, 1));
        this->gui->SetSkin(skin);
    }

    /// one frame: the GUI's render between the scene's begin and end; the
    /// statistics are published when the frame is presented
    void Draw()
    {
        if (this->gfx->BeginScene())
        {
            this->gui->Render();
            this->gfx->EndScene();
            this->gfx->PresentScene();
        }
    }

    int DrawCalls()
    {
        nEnv* env = static_cast<nEnv*>(this->ks.Lookup("/sys/var/gfxNumDrawCalls"));
        return env ? env->GetI() : -1;
    }
};

Frame& TheFrame()
{
    static Frame frame;
    return frame;
}

/// the brushes and labels of the drawing benchmark below a window of their own
nGuiWindow* MakeDrawing(Frame& f)
{
    static nGuiWindow* drawing = nullptr;
    if (drawing) return drawing;
    drawing = f.gui->NewWindow("nguiwindow", true);
    drawing->SetRect(rectangle(vector2(0, 0), vector2(1, 1)));
    nKernelServer* ks = &f.ks;
    ks->PushCwd(drawing);
    for (int i = 0; i < NumBrushes; i++)
    {
        nGuiWidget* l = static_cast<nGuiWidget*>(ks->New("nguilabel", ("l" + std::to_string(i)).c_str()));
        const float x = float(i % 40) / 40.0f;
        const float y = float(i / 40) / 40.0f;
        l->SetRect(rectangle(vector2(x, y), vector2(x + 0.02f, y + 0.02f)));
        l->SetDefaultBrush(((i / RunLength) % 2) ? "b" : "a");
    }
    // text needs the graphics layer's fonts; without them the labels are left out
    nResourceServer* rs = static_cast<nResourceServer*>(ks->Lookup("/sys/servers/resource"));
    const int numLabels = rs->FindResource("GuiDefault", nResource::Font) ? NumLabels : 0;
    if (0 == numLabels) fprintf(stderr, "no font resources: the text labels are left out\n");
    for (int i = 0; i < numLabels; i++)
    {
        auto* t = static_cast<nGuiTextLabel*>(ks->New("nguitextlabel", ("t" + std::to_string(i)).c_str()));
        t->SetRect(rectangle(vector2(0.0f, float(i) / 100.0f), vector2(0.5f, float(i + 1) / 100.0f)));
        t->SetText("twenty characters...");
    }
    ks->PopCwd();
    return drawing;
}

/// GUI frames, each waited for; the draw calls of the last as a counter
void DrawFrames(benchmark::State& state, Frame& f)
{
    for (auto _ : state)
    {
        f.Draw();
        glFinish();
    }
    state.counters["drawCalls"] = f.DrawCalls();
}

void BM_GuiRender(benchmark::State& state)
{
    Frame& f = TheFrame();
    MakeDrawing(f)->Show();
    DrawFrames(state, f);
}
BENCHMARK(BM_GuiRender)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// a vertex array and its buffer, both made and left bound
void MakeStream(GLuint& vao, GLuint& vbo)
{
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
}

/// two 16x16 textures holding the pattern of the skin's two brush images
void MakeBrushTextures(GLuint tex[2])
{
    glGenTextures(2, tex);
    unsigned char img[16 * 16 * 4];
    for (int i = 0; i < 16 * 16 * 4; i++) img[i] = (unsigned char)(i * 7);
    for (int t = 0; t < 2; t++)
    {
        glBindTexture(GL_TEXTURE_2D, tex[t]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, img);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
}

/// the baseline: the same quads, uploaded and drawn batch by batch by hand
void BM_RawGLBatches(benchmark::State& state)
{
    Frame& f = TheFrame();
    std::string log;
    const GLuint program = f.gfx->GetDevice()->CreateProgram(rawVertex, rawFragment, log).GetRaw();
    const GLint color = glGetUniformLocation(program, "color");
    std::vector<float> verts(RunLength * 6 * 8, 0.25f);
    GLuint vao = 0, vbo = 0, tex[2] = {0, 0};
    MakeStream(vao, vbo);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 32, nullptr);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 32, (void*)24);
    MakeBrushTextures(tex);
    int draws = 0;
    for (auto _ : state)
    {
        draws = 0;
        glUseProgram(program);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        for (int run = 0; run < NumBrushes / RunLength; run++)
        {
            glBindTexture(GL_TEXTURE_2D, tex[run % 2]);
            const float c[4] = {1.0f, 1.0f, 1.0f, 1.0f};
            glUniform4fv(color, 1, c);
            glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(verts.size() * sizeof(float)), nullptr, GL_STREAM_DRAW);
            glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(verts.size() * sizeof(float)), verts.data());
            glDrawArrays(GL_TRIANGLES, 0, RunLength * 6);
            draws++;
        }
        glFinish();
    }
    state.counters["drawCalls"] = draws;
    glDeleteTextures(2, tex);
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
    glDeleteProgram(program);
}
BENCHMARK(BM_RawGLBatches)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// the labels' screen rectangle, inset by their default border
rectangle TextRect(int i)
{
    const float y0 = float(i) / float(NumLabels);
    const float y1 = float(i + 1) / float(NumLabels);
    return rectangle(vector2(0.005f, y0), vector2(0.495f, y1));
}
const char* const labelText = "twenty characters...";

/// the glyph quads a font hands over, kept as they come
struct QuadRecorder : nTextQuadSink
{
    struct Quad
    {
        float pos[4];
        float texels[4];
        uint32_t argb;
    };
    std::vector<Quad> quads;
    void SetTexture(nTexture2*) override {}
    void AddQuad(const float pos[4], const float texels[4], uint32_t argb) override
    {
        Quad q;
        std::copy(pos, pos + 4, q.pos);
        std::copy(texels, texels + 4, q.texels);
        q.argb = argb;
        this->quads.push_back(q);
    }
    void Flush() override {}
};

const char* const handVertex = "#version 330 core\nlayout(location = 0) in vec2 pos;\n"
                               "layout(location = 1) in vec2 uv0;\nlayout(location = 2) in vec4 rgba;\n"
                               "out vec2 uv;\nout vec4 color;\n"
                               "void main() { gl_Position = vec4(pos.x * 2.0 - 1.0, pos.y * 2.0 - 1.0, 0.0, 1.0);"
                               " uv = uv0; color = rgba; }\n";
const char* const handFragment = "#version 330 core\nuniform sampler2D tex;\nin vec2 uv;\nin vec4 color;\n"
                                 "out vec4 fragColor;\nvoid main() { fragColor = texture(tex, uv) * color; }\n";

/// x, y relative to the display (y down, as the back buffer's rows run), u, v, RGBA bytes
struct HandVertex
{
    float x, y, u, v;
    uint32_t rgba;
};

/// the two triangles of a quad: relative corners, texture corners, colour
void PushQuad(std::vector<HandVertex>& out, const float p[4], const float t[4], uint32_t rgba)
{
    const HandVertex a{p[0], p[1], t[0], t[1], rgba}, b{p[2], p[1], t[2], t[1], rgba};
    const HandVertex c{p[2], p[3], t[2], t[3], rgba}, d{p[0], p[3], t[0], t[3], rgba};
    out.insert(out.end(), {a, b, c, a, c, d});
}

/// the baseline of the whole GUI frame: the same brush and glyph quads by hand
void BM_HandDrawnFrame(benchmark::State& state)
{
    Frame& f = TheFrame();
    MakeDrawing(f)->Show();
    // a GUI frame first, so that the labels' glyphs are in the font's atlas
    f.Draw();
    nResourceServer* rs = static_cast<nResourceServer*>(f.ks.Lookup("/sys/servers/resource"));
    auto* font = dynamic_cast<nD3D9Font*>(rs->FindResource("GuiDefault", nResource::Font));
    QuadRecorder glyphs;
    if (font && font->IsLoaded())
    {
        const int format = nTextLayout::Center | nTextLayout::VCenter;
        for (int i = 0; i < NumLabels; i++)
        {
            const rectangle r = TextRect(i);
            nTextRect pixels;
            pixels.left = int(r.v0.x * 640.0f);
            pixels.top = int(r.v0.y * 480.0f);
            pixels.right = int(r.v1.x * 640.0f);
            pixels.bottom = int(r.v1.y * 480.0f);
            font->DrawText(&glyphs, std::vector<uint32_t>(labelText, labelText + strlen(labelText)), pixels, format,
                           0xffffffff);
        }
    }
    auto* atlas = font ? static_cast<nD3D9Texture*>(font->GetAtlasTexture()) : nullptr;
    const float atlasSide = float(font ? std::max(1, font->GetAtlasSize()) : 1);

    std::string log;
    const GLuint program = f.gfx->GetDevice()->CreateProgram(handVertex, handFragment, log).GetRaw();
    GLuint vao = 0, vbo = 0, tex[2] = {0, 0};
    MakeStream(vao, vbo);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(HandVertex), nullptr);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(HandVertex), (void*)8);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(HandVertex), (void*)16);
    glBindVertexArray(0);
    MakeBrushTextures(tex);
    std::vector<HandVertex> verts;
    int draws = 0;
    for (auto _ : state)
    {
        if (!f.gfx->BeginScene()) continue;
        // the vertices are made anew each frame, as the GUI makes them
        verts.clear();
        const float whole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
        for (int i = 0; i < NumBrushes; i++)
        {
            const float x = float(i % 40) / 40.0f;
            const float y = float(i / 40) / 40.0f;
            const float p[4] = {x, y, x + 0.02f, y + 0.02f};
            PushQuad(verts, p, whole, 0xffffffff);
        }
        for (const QuadRecorder::Quad& q : glyphs.quads)
        {
            const float p[4] = {q.pos[0] / 640.0f, q.pos[1] / 480.0f, q.pos[2] / 640.0f, q.pos[3] / 480.0f};
            const float t[4] = {q.texels[0] / atlasSide, q.texels[1] / atlasSide, q.texels[2] / atlasSide,
                                q.texels[3] / atlasSide};
            PushQuad(verts, p, t, q.argb);
        }
        draws = 0;
        glUseProgram(program);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, vbo);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(verts.size() * sizeof(HandVertex)), verts.data(), GL_STREAM_DRAW);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        for (int run = 0; run < NumBrushes / RunLength; run++)
        {
            glBindTexture(GL_TEXTURE_2D, tex[run % 2]);
            glDrawArrays(GL_TRIANGLES, run * RunLength * 6, RunLength * 6);
            draws++;
        }
        if (atlas && !glyphs.quads.empty())
        {
            glBindTexture(GL_TEXTURE_2D, atlas->GetTexture2D().GetRaw());
            glDrawArrays(GL_TRIANGLES, NumBrushes * 6, GLsizei(glyphs.quads.size() * 6));
            draws++;
        }
        glBindVertexArray(0);
        glUseProgram(0);
        f.gfx->EndScene();
        f.gfx->PresentScene();
        glFinish();
    }
    state.counters["drawCalls"] = draws;
    state.counters["glyphQuads"] = double(glyphs.quads.size());
    glDeleteTextures(2, tex);
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
    glDeleteProgram(program);
}
BENCHMARK(BM_HandDrawnFrame)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// 10 windows of 100 widgets each below the root window, the drawing hidden
nGuiWindow* MakeTree(Frame& f)
{
    static nGuiWindow* tree = nullptr;
    if (tree) return tree;
    tree = f.gui->NewWindow("nguiwindow", true);
    nKernelServer* ks = &f.ks;
    for (int w = 0; w < 10; w++)
    {
        ks->PushCwd(tree);
        nGuiWindow* win = static_cast<nGuiWindow*>(ks->New("nguiwindow", ("w" + std::to_string(w)).c_str()));
        win->Show();
        ks->PopCwd();
        ks->PushCwd(win);
        for (int i = 0; i < NumWidgets / 10; i++) ks->New("nguiwidget", ("x" + std::to_string(i)).c_str());
        ks->PopCwd();
    }
    return tree;
}

void BM_GuiTrigger(benchmark::State& state)
{
    Frame& f = TheFrame();
    MakeDrawing(f)->Hide();
    MakeTree(f);
    for (auto _ : state)
    {
        f.gui->Trigger();
    }
}
BENCHMARK(BM_GuiTrigger)->Unit(benchmark::kMicrosecond);

/// the baseline: visit every node of the same tree, reading one flag of each widget
int Walk(nRoot* node)
{
    int shown = static_cast<nGuiWidget*>(node)->IsShown() ? 1 : 0;
    for (nRoot* c = node->GetHead(); c; c = c->GetSucc()) shown += Walk(c);
    return shown;
}

void BM_BareTreeWalk(benchmark::State& state)
{
    Frame& f = TheFrame();
    MakeDrawing(f)->Hide();
    MakeTree(f);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(Walk(f.root));
    }
}
BENCHMARK(BM_BareTreeWalk)->Unit(benchmark::kMicrosecond);

/// a window of text labels alone (the other windows hidden); null without fonts
nGuiWindow* ShowTextWindow(Frame& f)
{
    static nGuiWindow* texts = nullptr;
    for (nRoot* c = f.root->GetHead(); c; c = c->GetSucc()) static_cast<nGuiWidget*>(c)->Hide();
    nResourceServer* rs = static_cast<nResourceServer*>(f.ks.Lookup("/sys/servers/resource"));
    if (!rs->FindResource("GuiDefault", nResource::Font)) return nullptr;
    if (!texts)
    {
        texts = f.gui->NewWindow("nguiwindow", true);
        texts->SetRect(rectangle(vector2(0, 0), vector2(1, 1)));
        f.ks.PushCwd(texts);
        for (int i = 0; i < NumLabels; i++)
        {
            auto* t = static_cast<nGuiTextLabel*>(f.ks.New("nguitextlabel", ("t" + std::to_string(i)).c_str()));
            t->SetRect(rectangle(vector2(0.0f, TextRect(i).v0.y), vector2(0.5f, TextRect(i).v1.y)));
            t->SetText(labelText);
        }
        f.ks.PopCwd();
    }
    texts->Show();
    return texts;
}

void BM_GuiTextLabels(benchmark::State& state)
{
    Frame& f = TheFrame();
    if (!ShowTextWindow(f))
    {
        state.SkipWithError("no font resources");
        return;
    }
    // the first frame compiles the text effect
    f.Draw();
    glFinish();
    DrawFrames(state, f);
}
BENCHMARK(BM_GuiTextLabels)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// the baseline: the labels' strings through the graphics server's DrawText
/// as the labels draw them (centred both ways, clipped), without the GUI
void BM_ServerDrawText(benchmark::State& state)
{
    Frame& f = TheFrame();
    if (!ShowTextWindow(f))
    {
        state.SkipWithError("no font resources");
        return;
    }
    nResourceServer* rs = static_cast<nResourceServer*>(f.ks.Lookup("/sys/servers/resource"));
    nFont2* font = static_cast<nFont2*>(rs->FindResource("GuiDefault", nResource::Font));
    const nString text(labelText);
    const uint flags = nFont2::Center | nFont2::VCenter;
    auto frame = [&]()
    {
        if (f.gfx->BeginScene())
        {
            f.gfx->SetFont(font);
            for (int i = 0; i < NumLabels; i++) f.gfx->DrawText(text, vector4(1, 1, 1, 1), TextRect(i), flags);
            f.gfx->EndScene();
            f.gfx->PresentScene();
        }
        glFinish();
    };
    frame();
    for (auto _ : state) frame();
    state.counters["drawCalls"] = f.DrawCalls();
}
BENCHMARK(BM_ServerDrawText)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

void BM_TextViewAppend(benchmark::State& state)
{
    Frame& f = TheFrame();
    static nGuiTextView* view = nullptr;
    if (!view)
    {
        f.ks.PushCwd(f.root);
        view = static_cast<nGuiTextView*>(f.ks.New("nguitextview", "appendview"));
        f.ks.PopCwd();
    }
    const int n = int(state.range(0));
    for (auto _ : state)
    {
        view->BeginAppend();
        for (int i = 0; i < n; i++) view->AppendLine("a line of a long log");
        view->EndAppend();
    }
}
BENCHMARK(BM_TextViewAppend)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

/// the baseline: the same lines into a vector of strings
void BM_VectorAppend(benchmark::State& state)
{
    const int n = int(state.range(0));
    for (auto _ : state)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < n; i++) lines.emplace_back("a line of a long log");
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_VectorAppend)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!getenv("SDL_VIDEODRIVER"))
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
