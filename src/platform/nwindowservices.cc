//------------------------------------------------------------------------------
//  nwindowservices.cc
//------------------------------------------------------------------------------
#include "platform/nwindowservices.h"

// out of line, so that the interface's type information lives in one object
nWindowServices::~nWindowServices() = default;
