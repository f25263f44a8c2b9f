#ifndef N_APPRENDERPATH_H
#define N_APPRENDERPATH_H
//------------------------------------------------------------------------------
/**
    @class nAppRenderPath
    @ingroup Application

    What the main loop calls on the scene server's render path: Validate,
    once per pass before the frame, which loads what is missing of it.
*/
class nAppRenderPath
{
public:
    virtual void Validate() = 0;

protected:
    ~nAppRenderPath() = default;
};
#endif
