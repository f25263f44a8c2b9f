//------------------------------------------------------------------------------
//  ncmdproto.cc
//------------------------------------------------------------------------------
#include "kernel/ncmdproto.h"

#include <cstring>

namespace
{

/*
 * ParseLetters --
 *     Copies argument letters up to the next '_' (or the end), skipping 'v'.
 * Results: false for a letter that is no argument type; the position of
 *     the terminating character is returned in pos.
 */
bool ParseLetters(const char*& pos, char* letters, int& count)
{
    count = 0;
    for (; *pos && *pos != '_'; ++pos)
    {
        const char c = *pos;
        if (c == 'v') continue;
        if (nArg::CharToType(c) == nArg::Void) return false;
        if (count >= N_MAXNUM_ARGS) return false;
        letters[count++] = c;
    }
    letters[count] = 0;
    return true;
}

}  // namespace

/*
 * ParseProtoDef --
 *     Splits "outs_name_ins" into its three parts. More than 16 argument
 *     letters in all make the prototype invalid, so that a command never
 *     writes past its argument array.
 */
bool nCmdProto::ParseProtoDef(const char* proto_def, char* outArgs, char* name, char* inArgs)
{
    n_assert(proto_def);
    const char* pos = proto_def;
    int numOut = 0;
    if (!ParseLetters(pos, outArgs, numOut) || *pos != '_') return false;
    ++pos;

    const char* nameStart = pos;
    while (*pos && *pos != '_') ++pos;
    if (*pos != '_') return false;
    const size_t nameLen = (size_t)(pos - nameStart);
    if (nameLen >= N_MAXPATH) return false;
    memcpy(name, nameStart, nameLen);
    name[nameLen] = 0;
    ++pos;

    int numIn = 0;
    if (!ParseLetters(pos, inArgs, numIn) || *pos != 0) return false;
    return numIn + numOut <= N_MAXNUM_ARGS;
}

nCmdProto::nCmdProto(const char* proto_def, nFourCC _id) :
    id(_id),
    numInArgs(0),
    numOutArgs(0),
    cmdLocked(false),
    cmdTemplate(nullptr)
{
    char outArgs[N_MAXPATH];
    char name[N_MAXPATH];
    char inArgs[N_MAXPATH];
    if (!ParseProtoDef(proto_def, outArgs, name, inArgs))
    {
        n_assertfailmsg("0", "Invalid prototype definition for nCmdProto", __FILE__, __LINE__);
    }
    this->SetName(name);
    this->protoDef = proto_def;
    this->numOutArgs = (uchar)strlen(outArgs);
    this->numInArgs = (uchar)strlen(inArgs);

    this->cmdTemplate = n_new(nCmd(this));
    for (int i = 0; i < this->numOutArgs; i++)
    {
        this->cmdTemplate->GetArg(i)->Reset(nArg::CharToType(outArgs[i]));
    }
    for (int i = 0; i < this->numInArgs; i++)
    {
        this->cmdTemplate->GetArg(this->numOutArgs + i)->Reset(nArg::CharToType(inArgs[i]));
    }
    this->cmdTemplate->Rewind();
}

nCmdProto::~nCmdProto()
{
    n_delete(this->cmdTemplate);
}

/*
 * NewCmd --
 *     Hands out the template command when it is free; a command already in
 *     use (a script that calls the same command again) gets a copy.
 */
nCmd* nCmdProto::NewCmd()
{
    if (!this->cmdLocked)
    {
        this->cmdLocked = true;
        this->cmdTemplate->Rewind();
        this->cmdTemplate->ClearError();
        return this->cmdTemplate;
    }
    nCmd* copy = n_new(nCmd(*this->cmdTemplate));
    copy->ClearError();
    return copy;
}

void nCmdProto::RelCmd(nCmd* cmd)
{
    n_assert(cmd);
    if (cmd == this->cmdTemplate)
    {
        n_assert(cmdLocked);
        this->cmdLocked = false;
    }
    else
    {
        n_delete(cmd);
    }
}
