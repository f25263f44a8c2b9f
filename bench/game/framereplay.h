#ifndef BENCH_FRAMEREPLAY_H
#define BENCH_FRAMEREPLAY_H
//------------------------------------------------------------------------------
//  FrameReplay
//
//  One recorded frame issued again as plain GL calls in the current
//  context: the constructor makes the programs, samplers, buffers, vertex
//  arrays and framebuffers from the recording (the textures are the
//  recorded context's own) and turns the frame's calls into a list of GL
//  commands with every location, offset and name resolved; Run issues that
//  list and nothing else. It is the floor the engine's frame is measured
//  against: the same draws, states, uniforms and uploads without any of
//  the engine's bookkeeping, and without a state change the GL state
//  already has.
//------------------------------------------------------------------------------
#include "framerecorder.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class FrameReplay
{
public:
    FrameReplay(const FrameRecorder& rec, int width, int height);
    ~FrameReplay();
    FrameReplay(const FrameReplay&) = delete;
    FrameReplay& operator=(const FrameReplay&) = delete;

    /// what went wrong while loading, empty when the replay can run
    std::string error;
    /// issue the frame's GL commands
    void Run() const;
    /// the replay's back buffer as RGBA rows, as the GL device reads its own
    std::vector<unsigned char> ReadFrame() const;
    /// the number of draws, state changes and uniform sets per frame
    int draws = 0;
    int stateChanges = 0;
    int uniformSets = 0;
    int uploads = 0;

private:
    enum class Cmd
    {
        Enable,
        Disable,
        DepthMask,
        DepthFunc,
        PolygonMode,
        CullFace,
        BlendFunc,
        BlendEquation,
        ColorMask,
        StencilMask,
        StencilFuncSeparate,
        StencilOpSeparate,
        PolygonOffset,
        ClearColor,
        ClearDepth,
        ClearStencil,
        Clear,
        Viewport,
        DepthRange,
        Framebuffer,
        UseProgram,
        Uniform,
        ActiveTexture,
        BindTexture,
        BindSampler,
        Write,
        SubData,
        Vao,
        DrawElements,
        DrawArrays,
        Present,
    };
    struct Command
    {
        Cmd cmd;
        unsigned int a = 0, b = 0, c = 0, d = 0;
        int i = 0;
        int e = 0;
        float f[4] = {};
        const void* data = nullptr;
        nGfxUniform type = nGfxUniform::Float;
    };
    void Add(Cmd cmd, unsigned int a = 0, unsigned int b = 0, unsigned int c = 0, unsigned int d = 0);
    /// the GL commands of a render state change (against the state table 'rs')
    void ApplyState(int state, unsigned int value);
    void Load(const FrameRecorder& rec);
    void Compile(const FrameRecorder& rec);
    unsigned int TargetFramebuffer(const FrameRecorder& rec, unsigned int color, unsigned int depth);

    int width;
    int height;
    std::vector<Command> commands;
    /// where a buffer's last upload went (offset, bytes) and its size
    struct Slot
    {
        size_t offset = 0;
        size_t uploaded = 0;
        size_t size = 0;
    };
    mutable std::vector<Slot> slots;
    std::vector<unsigned int> rs;
    unsigned int backFramebuffer = 0;
    unsigned int backColor = 0;
    unsigned int backDepth = 0;
    std::map<unsigned int, unsigned int> programs;
    std::map<unsigned int, unsigned int> samplers;
    std::map<int, unsigned int> buffers;
    std::map<int, unsigned int> vaos;
    std::map<std::pair<unsigned int, unsigned int>, unsigned int> framebuffers;
};
#endif
