#include "resources/form_reader.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace wt::form {
namespace {

struct Refusal {
    std::string message;
};

std::string hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

// Reads little-endian fields from [pos, end) of the input; any read past `end` is refused with
// the context of the part being read.
class Cursor {
  public:
    Cursor(std::span<const std::uint8_t> data, std::size_t begin, std::size_t end,
           std::string context)
        : data_(data), pos_(begin), end_(end), context_(std::move(context)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw Refusal{context_ + ": " + what + "."};
    }

    std::size_t left() const { return end_ - pos_; }
    std::size_t pos() const { return pos_; }

    std::uint32_t u32(const char* field) {
        if (left() < 4) fail(std::string("the ") + field + " runs past the end of " + where());
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t{data_[pos_ + i]} << (8 * i);
        pos_ += 4;
        return v;
    }
    std::int32_t i32(const char* field) { return static_cast<std::int32_t>(u32(field)); }
    std::uint8_t u8(const char* field) {
        if (left() < 1) fail(std::string("the ") + field + " runs past the end of " + where());
        return data_[pos_++];
    }
    void skip(std::size_t n, const char* field) {
        if (left() < n) fail(std::string("the ") + field + " runs past the end of " + where());
        pos_ += n;
    }
    std::span<const std::uint8_t> bytes(std::size_t n, const char* field) {
        if (left() < n)
            fail(std::string("the ") + field + " (" + std::to_string(n) +
                 " bytes) runs past the end of " + where() + " (" + std::to_string(left()) +
                 " bytes left)");
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // A NUL-terminated text that must end inside the current part.
    std::string cstr(const char* field) {
        const std::uint8_t* begin = data_.data() + pos_;
        const void* nul = std::memchr(begin, 0, left());
        if (!nul) fail(std::string("the ") + field + " has no terminating NUL inside " + where());
        std::size_t n = static_cast<const std::uint8_t*>(nul) - begin;
        std::string s(reinterpret_cast<const char*>(begin), n);
        pos_ += n + 1;
        return s;
    }
    // u32 byte length, then that many bytes.
    std::span<const std::uint8_t> lengthPrefixed(const char* field) {
        std::uint32_t n = u32(field);
        return bytes(n, field);
    }

    void setWhere(const char* where) { where_ = where; }

  private:
    const char* where() const { return where_; }

    std::span<const std::uint8_t> data_;
    std::size_t pos_, end_;
    std::string context_;
    const char* where_ = "the resource";
};

bool knownKind(std::uint32_t kind) {
    switch (static_cast<Kind>(kind)) {
        case Kind::Window:
        case Kind::Label:
        case Kind::Button:
        case Kind::PictureBox:
        case Kind::CheckBox:
        case Kind::TransparentLabel:
            return true;
    }
    return false;
}

bool eventAllowed(Kind kind, std::int32_t event) {
    switch (kind) {
        case Kind::Window:
            return event == kEventClicked;
        case Kind::Button:
            return event == kEventClicked || event == kEventMouseDown || event == kEventMouseUp;
        case Kind::TransparentLabel:
            return event == kEventMouseDown;
        default:
            return false;
    }
}

std::string text(std::span<const std::uint8_t> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::optional<FontRecord> readFont(Cursor& r) {
    std::uint32_t size = r.u32("font record size");
    if (size == 0) return std::nullopt;
    if (size != 60) r.fail("the font record size is " + std::to_string(size) + ", not 0 or 60");
    if (r.left() < 60) r.fail("the font record runs past the end of the record");
    FontRecord f;
    f.height = r.i32("font height");
    f.width = r.i32("font width");
    f.escapement = r.i32("font escapement");
    f.orientation = r.i32("font orientation");
    f.weight = r.i32("font weight");
    f.italic = r.u8("font italic flag");
    f.underline = r.u8("font underline flag");
    f.strikeOut = r.u8("font strike-out flag");
    f.charSet = r.u8("font character set");
    f.outPrecision = r.u8("font output precision");
    f.clipPrecision = r.u8("font clip precision");
    f.quality = r.u8("font quality");
    f.pitchAndFamily = r.u8("font pitch and family");
    auto face = r.bytes(32, "font face name");
    const void* nul = std::memchr(face.data(), 0, face.size());
    if (!nul) r.fail("the font face name has no terminating NUL inside its 32 bytes");
    f.faceGbk = text(face.first(static_cast<const std::uint8_t*>(nul) - face.data()));
    return f;
}

void readTail(Cursor& r, ControlRecord& rec) {
    switch (rec.kind) {
        case Kind::Window:
        case Kind::PictureBox:
            rec.picture = r.lengthPrefixed("picture");
            break;
        case Kind::Button:
            rec.picture = r.lengthPrefixed("picture");
            rec.font = readFont(r);
            rec.captionGbk = text(r.lengthPrefixed("caption"));
            break;
        case Kind::Label:
            rec.textColor = r.u32("text colour");
            rec.backColor = r.u32("back colour");
            rec.borderColor = r.u32("border colour");
            rec.barMode = r.u32("bar mode");
            for (std::uint32_t& c : rec.barColors) c = r.u32("bar colour");
            rec.font = readFont(r);
            rec.captionGbk = text(r.lengthPrefixed("caption"));
            break;
        case Kind::CheckBox:
            rec.captionGbk = text(r.lengthPrefixed("caption"));
            rec.font = readFont(r);
            break;
        case Kind::TransparentLabel:
            break;
    }
}

class Parser {
  public:
    Parser(std::span<const std::uint8_t> data, std::size_t handlerCount)
        : data_(data), handlerCount_(handlerCount) {}

    std::vector<WindowBlock> run() {
        Cursor c(data_, 0, data_.size(), "Form resource");
        std::uint32_t tableSize = c.u32("table size");
        if (tableSize == 0 || tableSize % 8 != 0)
            c.fail("the table size " + std::to_string(tableSize) +
                   " is not 8 times a window count of at least 1");
        if (tableSize > c.left())
            c.fail("the identifier table (" + std::to_string(tableSize) +
                   " bytes) runs past the end of the resource (" + std::to_string(c.left()) +
                   " bytes left)");
        const std::size_t count = tableSize / 8;
        std::vector<std::uint32_t> ids(count);
        std::set<std::uint32_t> seen;
        for (std::size_t i = 0; i < count; ++i) {
            ids[i] = c.u32("window identifier");
            if (idTag(ids[i]) != kWindowIdTag)
                c.fail("window identifier " + std::to_string(i) + " (" + hex(ids[i]) +
                       ") does not have the top byte 0x52");
            if (!seen.insert(ids[i]).second)
                c.fail("window identifier " + hex(ids[i]) + " appears twice in the table");
        }
        c.skip(4 * count, "reserved table half");
        std::vector<WindowBlock> blocks;
        blocks.reserve(count);
        for (std::size_t i = 0; i < count; ++i) blocks.push_back(readBlock(c, i, ids[i]));
        if (c.left() != 0) c.fail(std::to_string(c.left()) + " bytes follow the last window block");
        return blocks;
    }

  private:
    WindowBlock readBlock(Cursor& outer, std::size_t index, std::uint32_t windowId) {
        const std::string where =
            "Form resource, window block " + std::to_string(index) + " (" + hex(windowId) + ")";
        Cursor head(data_, outer.pos(), outer.pos() + outer.left(), where);
        head.skip(4, "block head");
        WindowBlock block;
        block.windowId = windowId;
        block.moduleId = head.u32("module identifier");
        if (idTag(block.moduleId) != kModuleTag)
            head.fail("the module identifier " + hex(block.moduleId) +
                      " does not have the top byte 0x19");
        head.skip(8, "block head");
        const std::uint32_t n = head.u32("record count");
        const std::uint32_t blockSize = head.u32("block size");
        if (blockSize > head.left())
            head.fail("the block size " + std::to_string(blockSize) +
                      " runs past the end of the resource (" + std::to_string(head.left()) +
                      " bytes left)");
        // Every record needs its identifier, its offset and its size field.
        if (n == 0 || n > blockSize / 12)
            head.fail("the record count " + std::to_string(n) + " does not fit a block of " +
                      std::to_string(blockSize) + " bytes");
        outer.skip(24 + std::size_t{blockSize}, "window block");

        Cursor b(data_, head.pos(), head.pos() + blockSize, where);
        b.setWhere("the block");
        std::vector<std::uint32_t> ids(n), offsets(n);
        std::map<std::uint32_t, int> index_of;
        for (std::uint32_t k = 0; k < n; ++k) {
            ids[k] = b.u32("record identifier");
            std::uint32_t want = k == 0 ? kWindowRecordTag : kControlTag;
            if (idTag(ids[k]) != want)
                b.fail("record identifier " + std::to_string(k) + " (" + hex(ids[k]) +
                       ") does not have the top byte " + (k == 0 ? "0x06" : "0x16"));
            if (!index_of.emplace(ids[k], static_cast<int>(k)).second)
                b.fail("record identifier " + hex(ids[k]) + " appears twice");
        }
        for (std::uint32_t& o : offsets) o = b.u32("record offset");
        const std::size_t area = b.pos();
        const std::size_t areaSize = b.left();

        block.records.resize(n);
        std::size_t expected = 0;
        for (std::uint32_t k = 0; k < n; ++k) {
            if (offsets[k] != expected)
                b.fail("record " + std::to_string(k) + " is at offset " +
                       std::to_string(offsets[k]) + ", but records follow one another from 0 " +
                       "and this one must start at " + std::to_string(expected));
            if (areaSize - expected < 4)
                b.fail("record " + std::to_string(k) + " at offset " + std::to_string(expected) +
                       " runs past the end of the block");
            Cursor sizeField(data_, area + expected, area + areaSize, where);
            const std::uint32_t size = sizeField.u32("record size");
            if (size > areaSize - expected - 4)
                b.fail("the size " + std::to_string(size) + " of record " + std::to_string(k) +
                       " runs past the end of the block");
            const std::size_t begin = area + expected + 4;
            Cursor r(data_, begin, begin + size,
                     where + ", record " + std::to_string(k) + " (" + hex(ids[k]) + ")");
            r.setWhere("the record");
            block.records[k] = readRecord(r, k, ids[k]);
            expected += 4 + std::size_t{size};
        }
        if (expected != areaSize)
            b.fail(std::to_string(areaSize - expected) + " bytes follow the last record");
        checkTree(block, index_of, where);
        return block;
    }

    ControlRecord readRecord(Cursor& r, std::uint32_t k, std::uint32_t id) {
        ControlRecord rec;
        rec.id = id;
        const std::uint32_t kind = r.u32("kind");
        if (!knownKind(kind)) r.fail("unknown control kind " + hex(kind));
        rec.kind = static_cast<Kind>(kind);
        if ((k == 0) != (rec.kind == Kind::Window))
            r.fail(k == 0 ? "the first record is not the window's own record"
                          : "only the first record may be a window record");
        r.skip(20, "reserved head");
        rec.nameGbk = r.cstr("name");
        r.cstr("remark");
        r.skip(4, "reserved field");
        rec.geometry.left = r.i32("left");
        rec.geometry.top = r.i32("top");
        rec.geometry.width = r.i32("width");
        rec.geometry.height = r.i32("height");
        if (rec.geometry.width < 0 || rec.geometry.height < 0)
            r.fail("the size " + std::to_string(rec.geometry.width) + " x " +
                   std::to_string(rec.geometry.height) + " is negative");
        r.skip(4, "reserved field");
        rec.parent = r.u32("parent");
        const std::uint32_t childCount = r.u32("child count");
        if (childCount > r.left() / 4)
            r.fail("the child count " + std::to_string(childCount) +
                   " runs past the end of the record");
        rec.children.resize(childCount);
        for (std::uint32_t& c : rec.children) c = r.u32("child identifier");
        const std::uint32_t pointerSize = r.u32("pointer data size");
        if (pointerSize != 4)
            r.fail("the pointer data size is " + std::to_string(pointerSize) + ", not 4");
        r.skip(4, "pointer data");
        r.skip(5, "reserved bytes");
        rec.stateFlags = r.u32("state flags");
        r.skip(4, "reserved field");
        const std::uint32_t eventCount = r.u32("event count");
        if (eventCount > r.left() / 8)
            r.fail("the event count " + std::to_string(eventCount) +
                   " runs past the end of the record");
        rec.events.resize(eventCount);
        for (std::size_t e = 0; e < eventCount; ++e) {
            EventBinding& ev = rec.events[e];
            ev.event = r.i32("event number");
            ev.handler = r.u32("handler number");
            if (!eventAllowed(rec.kind, ev.event))
                r.fail("event " + std::to_string(ev.event) + " is not valid on a control of kind " +
                       hex(kind));
            if (ev.handler >= handlerCount_)
                r.fail("handler number " + std::to_string(ev.handler) +
                       " is not below the handler count " + std::to_string(handlerCount_));
            for (std::size_t p = 0; p < e; ++p)
                if (rec.events[p].event == ev.event)
                    r.fail("event " + std::to_string(ev.event) + " is bound twice");
        }
        readTail(r, rec);
        if (r.left() != 0)
            r.fail(std::to_string(r.left()) + " bytes follow the end of the kind's tail");
        return rec;
    }

    // Parents must be picture boxes stored earlier; each child list names exactly the records
    // that give that control as their parent.
    static void checkTree(const WindowBlock& block, const std::map<std::uint32_t, int>& index_of,
                          const std::string& where) {
        auto here = [&](std::size_t k) {
            return where + ", record " + std::to_string(k) + " (" + hex(block.records[k].id) + ")";
        };
        std::map<std::uint32_t, std::size_t> childrenOf;
        for (std::size_t k = 0; k < block.records.size(); ++k) {
            const ControlRecord& rec = block.records[k];
            if (rec.parent == 0) continue;
            auto it = index_of.find(rec.parent);
            if (it == index_of.end() || static_cast<std::size_t>(it->second) >= k ||
                block.records[it->second].kind != Kind::PictureBox)
                throw Refusal{here(k) + ": the parent " + hex(rec.parent) +
                              " is not a picture box stored before it."};
            ++childrenOf[rec.parent];
        }
        for (std::size_t k = 0; k < block.records.size(); ++k) {
            const ControlRecord& rec = block.records[k];
            std::set<std::uint32_t> unique(rec.children.begin(), rec.children.end());
            if (unique.size() != rec.children.size())
                throw Refusal{here(k) + ": a child identifier appears twice."};
            for (std::uint32_t child : rec.children) {
                auto it = index_of.find(child);
                if (it == index_of.end() || block.records[it->second].parent != rec.id)
                    throw Refusal{here(k) + ": the child " + hex(child) +
                                  " is not a record of this block with this parent."};
            }
        }
        for (const ControlRecord& rec : block.records) {
            auto it = childrenOf.find(rec.id);
            std::size_t want = it == childrenOf.end() ? 0 : it->second;
            if (want != rec.children.size())
                throw Refusal{where + ", record " + hex(rec.id) + ": it lists " +
                              std::to_string(rec.children.size()) + " children, but " +
                              std::to_string(want) + " records name it as their parent."};
        }
    }

    std::span<const std::uint8_t> data_;
    std::size_t handlerCount_;
};

}  // namespace

int WindowBlock::indexOfId(std::uint32_t id) const {
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].id == id) return static_cast<int>(i);
    return -1;
}

std::optional<FormResource> FormResource::parse(std::span<const std::uint8_t> bytes,
                                                std::size_t handlerCount, std::string* error) {
    try {
        FormResource resource;
        resource.blocks_ = Parser(bytes, handlerCount).run();
        return resource;
    } catch (const Refusal& refusal) {
        if (error) *error = refusal.message;
        return std::nullopt;
    }
}

const WindowBlock* FormResource::find(std::uint32_t windowId) const {
    for (const WindowBlock& block : blocks_)
        if (block.windowId == windowId) return &block;
    return nullptr;
}

}  // namespace wt::form
