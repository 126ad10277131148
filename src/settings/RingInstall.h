// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QSaveFile;

namespace dpx {

// Ring sources bigger than this are refused: a ring is seconds of sound, not an album.
inline constexpr qint64 kMaxRingSourceBytes = 100LL * 1024 * 1024;

// Why a file cannot serve as a ring source; empty when it can. `isAudio` says whether the
// player can decode it (not asked for files that fail the cheaper checks).
QString ringSourceProblem(const QString &path, const std::function<bool(const QString &)> &isAudio);

QString ringFileMissingText(const QString &path); // "找不到文件:" + path

// Puts ring files in place in two steps, so that nothing is replaced before every copy is
// complete: stage (copy each source into a temporary file beside its target, mark removals),
// then commit (rename over the targets, remove the marked ones). Until commit, the targets are
// untouched; a staged copy that is never committed is thrown away.
class RingInstall {
public:
    RingInstall();
    ~RingInstall();
    RingInstall(const RingInstall &) = delete;
    RingInstall &operator=(const RingInstall &) = delete;

    // False with error() when the source cannot be read or the copy cannot be written.
    bool stageCopy(const QString &source, const QString &target);
    void stageRemoval(const QString &target); // nothing to do when the target is absent
    bool hasWork() const { return !m_copies.empty() || !m_removals.isEmpty(); }

    // Replaces and removes the targets. Whoever holds a target open must let it go first.
    bool commit();
    QString error() const { return m_error; }

private:
    struct Copy;
    std::vector<std::unique_ptr<Copy>> m_copies;
    QStringList m_removals;
    QString m_error;
};

} // namespace dpx
