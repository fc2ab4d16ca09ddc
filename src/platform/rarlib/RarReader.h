// Reads the blocks of a RAR archive (1.5 to 4, or 5) from an open file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace velmora::rar {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct Entry {
    std::string name;          // as stored, cut at its first NUL
    bool nameTooLong = false;
    unsigned flags = 0;        // RarEntry... of RarLib.h
    std::uint64_t packSize = 0;
    std::uint64_t unpSize = 0;
    unsigned hostOs = 0;
    std::uint32_t crc = 0;
    bool hasCrc = true;
    std::uint32_t dosTime = 0;
    unsigned unpVer = 0;
    unsigned method = 0x30;
    unsigned attr = 0;
    bool folder = false;
    bool stored = true;
    bool encrypted = false;
    bool split = false;
    std::string comment;
    bool hasComment = false;
    std::int64_t dataPos = 0;
};

class RarReader {
public:
    explicit RarReader(FilePtr file) : m_file(std::move(file)) {}

    // Finds the marker (at the start or behind a stub) and reads the main
    // header and an archive comment right after it. Returns a result code.
    unsigned Open();
    // 0 with the next entry, RarEndArchive at the end, RarBadData for a
    // damaged header.
    unsigned Next(Entry& entry);
    // Reads up to n bytes at pos; returns the count read.
    std::size_t ReadAt(std::int64_t pos, void* buf, std::size_t n);

    bool Version5() const { return m_v5; }
    unsigned ArchiveFlags() const { return m_arcFlags; }
    const std::string& Comment() const { return m_comment; }
    bool HasComment() const { return m_hasComment; }
    bool CommentReadable() const { return m_commentReadable; }

private:
    unsigned NextV4(Entry& entry);
    unsigned NextV5(Entry& entry);
    unsigned ParseV4File(const std::string& head, unsigned flags, Entry& entry);
    unsigned ParseV5File(const std::string& head, std::size_t pos, std::size_t extraStart, Entry& entry);
    void TakeComment(const Entry& service);
    bool ReadStoredText(const Entry& entry, std::string& text);

    FilePtr m_file;
    std::int64_t m_pos = 0;
    std::int64_t m_size = 0;
    bool m_v5 = false;
    bool m_ended = false;
    unsigned m_arcFlags = 0;
    std::string m_comment;
    bool m_hasComment = false;
    bool m_commentReadable = true;
};

std::uint32_t Crc32(const void* data, std::size_t n, std::uint32_t crc = 0);

}  // namespace velmora::rar
