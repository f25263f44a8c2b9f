#ifndef TESTS_FILE_NPKWRITER_H
#define TESTS_FILE_NPKWRITER_H
//------------------------------------------------------------------------------
//  Builds npk archives in memory for tests, benchmarks and the fuzz corpus.
//  It writes whatever records it is told, in that order, so broken tables
//  are as easy to make as sound ones.
//------------------------------------------------------------------------------
#include <cstdint>
#include <fstream>
#include <string>

class NpkWriter
{
public:
    /// a DIR_ record
    NpkWriter& Dir(const std::string& name)
    {
        Tag(0x4449525F);
        Name(name);
        return *this;
    }
    /// a FILE record whose bytes go to the end of the data area
    NpkWriter& File(const std::string& name, const std::string& contents)
    {
        RawFile(name, (uint32_t)data.size(), (uint32_t)contents.size());
        data += contents;
        return *this;
    }
    /// a FILE record with the given offset and length, no data added
    NpkWriter& RawFile(const std::string& name, uint32_t offset, uint32_t length)
    {
        Tag(0x46494C45);
        U32(toc, offset);
        U32(toc, length);
        Name(name);
        return *this;
    }
    /// a DEND record
    NpkWriter& End()
    {
        Tag(0x44454E44);
        return *this;
    }
    /// the whole archive: header, table, "DATA" block
    std::string Build() const
    {
        std::string out;
        U32(out, 0x4E504B30);
        U32(out, (uint32_t)toc.size());
        U32(out, (uint32_t)(12 + toc.size()));
        out += toc;
        U32(out, 0x44415441);
        U32(out, (uint32_t)data.size());
        out += data;
        return out;
    }
    /// write the archive to a file
    void Save(const std::string& path) const { WriteBytes(path, Build()); }

    static void WriteBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), (std::streamsize)bytes.size());
    }

private:
    static void U32(std::string& out, uint32_t v)
    {
        for (int i = 0; i < 4; i++) out += (char)((v >> (8 * i)) & 0xff);
    }
    void Tag(uint32_t tag)
    {
        U32(toc, tag);
        U32(toc, 0);
    }
    void Name(const std::string& name)
    {
        toc += (char)(name.size() & 0xff);
        toc += (char)((name.size() >> 8) & 0xff);
        toc += name;
    }

    std::string toc;
    std::string data;
};
#endif
