#include "files/TrayRecord.h"

#include "files/Cp1252.h"
#include "files/PackedIo.h"

namespace zg {

std::string toCp1252Lossy(const std::string& utf8, std::size_t maxBytes) {
    Cp1252Encoding whole = utf8ToCp1252(utf8);
    std::string bytes;
    if (whole.ok) {
        bytes = std::move(whole.bytes);
    } else {
        // Encode character by character so one stray character costs only itself.
        std::string_view rest = utf8;
        while (!rest.empty()) {
            const std::string one = utf8Prefix(rest, 1);
            const std::size_t used = one.empty() ? 1 : one.size();
            const Cp1252Encoding c = utf8ToCp1252(rest.substr(0, used));
            bytes += c.ok ? c.bytes : std::string("?");
            rest.remove_prefix(used);
        }
    }
    if (bytes.size() > maxBytes) {
        bytes.resize(maxBytes);
    }
    return bytes;
}

void TrayRecord::write(PackedWriter& out) const {
    out.i16(Number);
    out.i16(Left);
    out.i16(Top);
    out.u16(Width);
    out.u16(Height);
    out.i32(StackStamp);
    out.u32(TrayColor);
    out.u8(Open ? 1 : 0);
    out.shortString(toCp1252Lossy(Description, kDescriptionCapacity), kDescriptionCapacity);
}

TrayRecord TrayRecord::read(PackedReader& in) {
    TrayRecord r;
    r.Number = in.i16();
    r.Left = in.i16();
    r.Top = in.i16();
    r.Width = in.u16();
    r.Height = in.u16();
    r.StackStamp = in.i32();
    r.TrayColor = in.u32();
    r.Open = in.u8() != 0;
    r.Description = cp1252ToUtf8(in.shortString(kDescriptionCapacity));
    return r;
}

} // namespace zg
