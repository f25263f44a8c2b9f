#ifndef N_RPXMLPARSER_H
#define N_RPXMLPARSER_H
//------------------------------------------------------------------------------
/**
    @class nRpXmlParser
    @ingroup RenderPath

    Reads a render-path XML file (through the file server) and builds its
    render targets, global render variables, passes, shader states,
    phases and sequences into the render path. The file comes from
    outside: every fault in it (a missing or unknown word, a bad number
    list, a texture that does not load) fails the open with a message
    naming the file.
*/
class nRenderPath2;
class nRpPass;
class nRpPhase;
class nTexture2;
class nXmlDocument;
class TiXmlElement;

class nRpXmlParser
{
public:
    nRpXmlParser() = default;
    ~nRpXmlParser();
    nRpXmlParser(const nRpXmlParser&) = delete;
    nRpXmlParser& operator=(const nRpXmlParser&) = delete;

    /// the render path to build (asserted non-null)
    void SetRenderPath(nRenderPath2* rp);
    /// load the render path's file; false with a message when it cannot be read or has no RenderPath
    bool OpenXml();
    /// build everything the document declares into the render path; false with a message on a fault
    bool ParseXml();
    /// delete the document
    void CloseXml();
    /// whether a document is loaded
    bool IsOpen() const { return nullptr != this->xmlDocument; }

private:
    bool ParseRenderTarget(TiXmlElement* elm);
    bool ParseGlobalVariable(TiXmlElement* elm);
    bool ParsePass(TiXmlElement* elm);
    bool ParseShaderState(TiXmlElement* elm, nRpPass& pass);
    bool ParsePhase(TiXmlElement* elm, nRpPass& pass);
    nTexture2* LoadTexture(const char* fileName);
    /// log a fault of the file with its name; false
    bool Fail(const char* fmt, ...) const;

    nXmlDocument* xmlDocument = nullptr;
    nRenderPath2* renderPath = nullptr;
};
#endif
