#include "AudioTestSupport.h"

#include <QFile>

#include <cstdint>
#include <stdexcept>

namespace zg::test {

namespace {

void appendBigEndian(QByteArray& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.append(static_cast<char>((value >> shift) & 0xFF));
    }
}

} // namespace

void writeShortMidi(const QString& path) {
    // 480 ticks per quarter note at the default 120 beats per minute: 96 ticks = 0.1 s.
    const QByteArray track = QByteArray::fromHex("00C000"     // program change: piano
                                                 "00903C64"   // note on, middle C
                                                 "60803C00"   // 96 ticks later: note off
                                                 "00FF2F00"); // end of track
    QByteArray file("MThd");
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2);   // format 0
    appendBigEndian(file, 1, 2);   // one track
    appendBigEndian(file, 480, 2); // ticks per quarter note
    file.append("MTrk");
    appendBigEndian(file, static_cast<uint32_t>(track.size()), 4);
    file.append(track);

    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace zg::test
