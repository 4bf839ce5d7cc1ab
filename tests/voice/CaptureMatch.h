#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// Whether `captured` holds the sample data of `clips` one after the other. The capture
/// device pads each sound to its period with silence (0x80 for unsigned 8-bit), so up to
/// `maxPad` bytes of silence may follow each clip. Explains a mismatch in `why`.
inline bool CapturedInOrder(const QByteArray& captured, const QList<QByteArray>& clips,
                            qsizetype maxPad, QString* why) {
    const auto silentUpTo = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i) {
            if (static_cast<unsigned char>(captured[i]) != 0x80) {
                return false;
            }
        }
        return true;
    };
    qsizetype pos = 0;
    for (int n = 0; n < clips.size(); ++n) {
        const QByteArray& clip = clips[n];
        bool found = false;
        for (qsizetype start = pos; start <= pos + maxPad && start + clip.size() <= captured.size();
             ++start) {
            if (captured.mid(start, clip.size()) == clip) {
                found = true;
                pos = start + clip.size();
                break;
            }
            if (static_cast<unsigned char>(captured[start]) != 0x80) {
                break; // only silence may come between two clips
            }
        }
        if (!found) {
            *why = QStringLiteral("clip %1 (%2 bytes) not found at %3 of %4 captured bytes")
                       .arg(n)
                       .arg(clip.size())
                       .arg(pos)
                       .arg(captured.size());
            return false;
        }
    }
    if (captured.size() - pos > maxPad || !silentUpTo(pos, captured.size())) {
        *why = QStringLiteral("%1 bytes that are not padding after the last clip")
                   .arg(captured.size() - pos);
        return false;
    }
    return true;
}
