#include "platform/ziplib/ZlRepair.h"

#include <zlib.h>

#include <algorithm>
#include <map>

namespace velmora::zl {
namespace {

struct Found {
    ZipEntry entry;
    std::uint64_t data = 0;
    bool zip64Local = false;  // the local header has a Zip64 field: its descriptor has 64-bit sizes
};

// Every place of a local header signature from Start on.
std::vector<std::uint64_t> Signatures(InFile& file, std::uint64_t start, bool firstOnly)
{
    std::vector<std::uint64_t> found;
    std::vector<std::uint8_t> buffer(1 << 20);
    for (std::uint64_t pos = start; pos + 4 <= file.Size();) {
        const std::size_t got = file.ReadSome(pos, buffer.data(), buffer.size());
        if (got < 4) break;
        for (std::size_t i = 0; i + 4 <= got; ++i) {
            if (buffer[i] == 'P' && Get32(&buffer[i]) == kLocalSignature) {
                found.push_back(pos + i);
                if (firstOnly) return found;
            }
        }
        pos += got - 3;
    }
    return found;
}

// A local header at Pos; false when there is none or it is cut off.
bool ParseLocal(InFile& file, std::uint64_t pos, Found& f)
{
    std::uint8_t h[30];
    if (!file.ReadAt(pos, h, 30) || Get32(h) != kLocalSignature) return false;
    ZipEntry& e = f.entry;
    e = ZipEntry{};
    f.zip64Local = false;
    e.localOffset = pos;
    e.needed = Get16(h + 4);
    e.madeBy = 20;
    e.flags = Get16(h + 6);
    e.method = Get16(h + 8);
    e.dosTime = Get16(h + 10);
    e.dosDate = Get16(h + 12);
    e.crc = Get32(h + 14);
    e.packedSize = Get32(h + 18);
    e.size = Get32(h + 22);
    const std::uint16_t nameLength = Get16(h + 26), extraLength = Get16(h + 28);
    std::string text(nameLength + extraLength, '\0');
    if (!file.ReadAt(pos + 30, text.data(), text.size())) return false;
    e.rawName = text.substr(0, nameLength);
    e.name = DecodeName(e.rawName, e.flags, e.madeBy);
    // Zip64 sizes in the local extra field.
    for (size_t p = nameLength; p + 4 <= text.size();) {
        const auto* x = reinterpret_cast<const std::uint8_t*>(text.data() + p);
        const std::uint16_t id = Get16(x), length = Get16(x + 2);
        if (id == 1 && p + 4 + length <= text.size()) {
            f.zip64Local = true;
            if (length >= 16) {
                e.size = Get64(x + 4);
                e.packedSize = Get64(x + 12);
            }
        }
        p += 4u + length;
    }
    f.data = pos + 30 + nameLength + extraLength;
    return !e.name.empty();
}

// Sizes and CRC of a deflated entry whose header left them to a descriptor:
// found by inflating up to the stream's end, reading at most Limit bytes.
bool Measure(InFile& file, Found& f, std::uint64_t limit)
{
    ZipEntry& e = f.entry;
    if (e.method != 8 || e.Encrypted()) return false;
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw ZlFailure{kResultNoMemory};
    std::vector<std::uint8_t> in(64 * 1024), out(256 * 1024);
    std::uint64_t pos = f.data;
    std::uint32_t crc = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (pos - f.data >= limit) break;
            const std::size_t got = file.ReadSome(
                pos, in.data(), static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), limit - (pos - f.data))));
            if (got == 0) break;
            pos += got;
            z.next_in = in.data();
            z.avail_in = static_cast<uInt>(got);
        }
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        crc = Crc32(crc, out.data(), out.size() - z.avail_out);
    }
    const bool ok = rc == Z_STREAM_END;
    e.packedSize = z.total_in;
    e.size = z.total_out;
    e.crc = crc;
    inflateEnd(&z);
    return ok;
}

std::uint64_t DescriptorLength(InFile& file, const Found& f)
{
    if (!(f.entry.flags & kFlagDescriptor)) return 0;
    std::uint8_t sig[4];
    const bool signed_ = file.ReadAt(f.data + f.entry.packedSize, sig, 4) && Get32(sig) == kDescriptorSignature;
    // Writers that put a Zip64 field into the local header (streaming, size
    // unknown) write 64-bit sizes into the descriptor whatever the sizes are.
    const bool big = f.zip64Local || f.entry.size >= 0xFFFFFFFF || f.entry.packedSize >= 0xFFFFFFFF;
    return (signed_ ? 4 : 0) + (big ? 20 : 12);
}

// Takes what the central directory says of the entry, when one can still be
// read: its sizes and CRC hold for every entry (a local header may be wrong
// without the entry being cut). False when the sizes stay unknown.
bool Complete(InFile& file, Found& f, const std::map<std::uint64_t, const ZipEntry*>& central,
              std::uint64_t measureLimit = UINT64_MAX)
{
    ZipEntry& e = f.entry;
    const auto c = central.find(e.localOffset);
    if (c != central.end()) {
        e.madeBy = c->second->madeBy;
        e.name = c->second->name;
        e.externalAttributes = c->second->externalAttributes;
        e.internalAttributes = c->second->internalAttributes;
        e.rawComment = c->second->rawComment;
        e.comment = c->second->comment;
        e.crc = c->second->crc;
        e.packedSize = c->second->packedSize;
        e.size = c->second->size;
        return true;
    }
    if ((e.flags & kFlagDescriptor) && e.packedSize == 0) return Measure(file, f, measureLimit);
    return true;
}

// Whether the entry's data runs past the end of the file. Compared without
// adding up: a 64-bit size from a local header can be so large that the sum
// wraps round to an earlier place, and the walk would go back there.
bool PastEnd(InFile& file, const Found& f)
{
    return f.data > file.Size() || f.entry.packedSize > file.Size() - f.data;
}

// Whether a ZIP record (or the end of the file) begins at Pos.
bool RecordAt(InFile& file, std::uint64_t pos)
{
    if (pos == file.Size()) return true;
    std::uint8_t sig[4];
    if (!file.ReadAt(pos, sig, 4)) return false;
    const std::uint32_t s = Get32(sig);
    return s == kLocalSignature || s == kCentralSignature || s == kEndSignature || s == kEnd64Signature ||
           s == 0x05054B50 /* digital signature */ || s == 0x08064B50 /* archive extra data */;
}

void Write(const std::wstring& archive, const std::wstring& tempFolder, InFile& file, std::vector<Found>& found,
           const std::string& rawComment, std::uint64_t stub, Session& session)
{
    Rewriter rewriter(archive, tempFolder);
    rewriter.KeepStub(file, stub);
    for (Found& f : found) {
        session.SendName(kMsgFixing, f.entry.name);
        ZipEntry e = f.entry;
        CopyEntry(file, f.data, rewriter.Out(), e);
        rewriter.Entries().push_back(std::move(e));
    }
    rewriter.Finish(rawComment, file);
}

}  // namespace

int Repair(const std::string& password, const std::wstring& archive, const std::wstring& tempFolder, bool thorough,
           Session& session)
{
    if (GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES) throw ZlFailure{kResultNotFound};
    InFile file;
    if (!file.Open(archive)) throw ZlFailure{kResultNoAccess};
    ZipDirectory dir;
    const bool haveDirectory = ReadDirectory(file, dir) == kResultOk;
    std::map<std::uint64_t, const ZipEntry*> central;
    if (haveDirectory)
        for (const ZipEntry& e : dir.entries) central.emplace(e.localOffset, &e);
    std::vector<Found> found;

    if (!thorough) {
        const std::vector<std::uint64_t> first = Signatures(file, 0, true);
        if (first.empty()) throw ZlFailure{kResultDamaged};
        for (std::uint64_t pos = first.front();;) {
            std::uint8_t sig[4];
            if (!file.ReadAt(pos, sig, 4)) break;  // the end of a cut file
            const std::uint32_t s = Get32(sig);
            if (s == kCentralSignature || s == kEndSignature || s == kEnd64Signature) break;
            if (s != kLocalSignature) throw ZlFailure{kResultDamaged};
            Found f;
            if (!ParseLocal(file, pos, f)) {
                if (pos + 30 > file.Size()) break;
                throw ZlFailure{kResultDamaged};
            }
            if (!Complete(file, f, central)) {
                if (f.data >= file.Size()) break;
                throw ZlFailure{kResultDamaged};
            }
            if (PastEnd(file, f)) {
                // Past the end of a file whose end record was found: no cut
                // file but a size that cannot be told.
                if (haveDirectory) throw ZlFailure{kResultDamaged};
                break;  // cut inside the data
            }
            pos = f.data + f.entry.packedSize + DescriptorLength(file, f);
            found.push_back(std::move(f));
        }
    } else {
        std::uint64_t next = 0;
        EntryReader reader;
        // Reading candidates' data costs; what real entries need is about the
        // file's size, as an entry found is passed over. Candidates beyond
        // this budget (crafted headers claiming long data) are not read.
        std::uint64_t budget = 4 * file.Size() + (16u << 20);
        std::uint64_t failedEnd = 0;  // how far failed measures have read
        StatsHolder stats;
        ZipEntry scanning;
        scanning.name = Narrow(archive);
        FillStats(stats, scanning);
        int lastPercent = -1;
        for (std::uint64_t pos : Signatures(file, 0, false)) {
            const int percent = file.Size() ? static_cast<int>(pos * 100 / file.Size()) : 100;
            if (percent != lastPercent) {
                // Also lets the caller stop the scan.
                stats.block.percent = static_cast<std::uint8_t>(lastPercent = percent);
                session.Send(kMsgProgress, &stats.block);
            }
            if (pos < next) continue;
            Found f;
            if (!ParseLocal(file, pos, f)) continue;
            const std::uint64_t before = f.entry.packedSize;
            const bool measured = !central.count(f.entry.localOffset) && (f.entry.flags & kFlagDescriptor) &&
                                  f.entry.packedSize == 0;
            if (!Complete(file, f, central, budget)) {
                if (measured) {
                    // A candidate whose data starts inside what an earlier
                    // failed one read repeats that work: crafted headers nested
                    // in stored blocks make each of them inflate one long
                    // stream again, a thousandfold its size. Its output counts.
                    budget -= std::min(budget, f.entry.packedSize + (f.data < failedEnd ? f.entry.size : 0));
                    failedEnd = std::max(failedEnd, f.data + f.entry.packedSize);
                }
                continue;
            }
            if (measured) budget -= std::min(budget, f.entry.packedSize - before);
            if (PastEnd(file, f)) continue;
            const std::uint64_t end = f.data + f.entry.packedSize + DescriptorLength(file, f);
            std::optional<ZipKeys> keys;
            const bool readable = (f.entry.method == 0 || f.entry.method == 8) &&
                                  (!f.entry.Encrypted() || CheckPassword(file, f.entry, password, keys));
            if (!readable) {
                // Another method, or encrypted without the password: its data
                // cannot be checked, so it stays as it stands when its frame
                // is sound (the next record begins where it claims to end).
                if (!RecordAt(file, end)) continue;
            } else {
                if (f.entry.packedSize > budget) continue;
                budget -= f.entry.packedSize;
                DataResult r = DataResult::Damaged;
                try {
                    r = reader.Read(file, f.entry, keys ? &*keys : nullptr, [](const std::uint8_t*, std::size_t) {},
                                    {});
                } catch (const ZlFailure& failure) {
                    if (failure.code != kResultDamaged) throw;
                }
                if (r != DataResult::Ok) continue;
            }
            next = end;
            found.push_back(std::move(f));
        }
    }
    if (found.empty()) throw ZlFailure{kResultDamaged};
    // A program stub in front of a readable directory's entries stays.
    const std::uint64_t stub = haveDirectory ? std::min(dir.dataStart, found.front().entry.localOffset) : 0;
    Write(archive, tempFolder, file, found, haveDirectory ? dir.rawComment : std::string(), stub, session);
    return static_cast<int>(found.size());
}

}  // namespace velmora::zl
