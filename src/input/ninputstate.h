#ifndef N_INPUTSTATE_H
#define N_INPUTSTATE_H
//------------------------------------------------------------------------------
/**
    @class nInputState
    @ingroup Input

    A named input state that game code asks by name: a button and a slider
    fed every frame by the mappings bound to it. The state lives in the
    input server's state list while at least one mapping holds it.
*/
#include "util/nhashnode.h"

class nInputState : public nHashNode
{
public:
    explicit nInputState(const char* name) : nHashNode(name) {}

    /// one more mapping is bound to the state
    void AddRef() { this->refCount++; }
    /// one mapping less; at none the state leaves its list and is deleted
    void Release();
    int GetRefCount() const { return this->refCount; }

    void SetButton(bool b) { this->button = b; }
    bool GetButton() const { return this->button; }
    void SetSlider(float s) { this->slider = s; }
    /// add to the slider and keep it within 0..1
    void AddSlider(float s);
    float GetSlider() const { return this->slider; }

private:
    int refCount = 0;
    bool button = false;
    float slider = 0.0f;
};
#endif
