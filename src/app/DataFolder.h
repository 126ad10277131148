// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

namespace dpx {

// The folder that holds everything DPX keeps: the address database, ring files,
// contact pictures, info.ini. Chosen once at start-up, seeded on first use.
class DataFolder {
public:
    // Where the folder is, in order of precedence: an explicit --data-dir, the DPX_DATA_DIR
    // environment variable, the executable's folder when a file named "portable" lies beside
    // it, else the user's data location (~/.local/share/dpx).
    static QString choose(const QString &commandLineDir, const QString &environmentDir,
                          const QString &executableDir, const QString &userDataDir);
    // The user's data location: ~/.local/share/dpx on Linux.
    static QString userDataDir();
    // The simulated telephone keeps its own data beside the real one, so a demo never
    // touches the real address book and both can run at once.
    static QString simulatedDir(const QString &chosen) { return chosen + QStringLiteral("/simulated"); }
    // Moves what an earlier version kept in `earlier` (~/.local/share/dpx/dpx) into `path`,
    // once: only when `earlier` holds an address book and `path` has none. False when
    // something could not be moved (it then stays where it was).
    static bool adoptEarlierFolder(const QString &earlier, const QString &path);

    explicit DataFolder(QString path);
    ~DataFolder();

    // Creates the folder when missing and fills in whatever default file is absent, and
    // removes the hidden work files of an address book whose creation was cut short.
    // Existing files are never overwritten. False with error() when the folder cannot be
    // created or written.
    bool prepare();
    QString error() const { return m_error; }

    QString path() const { return m_path; }
    QString filePath(const QString &name) const; // path + "/" + name
    QString databasePath() const;                // Address.db
    QString pictureFolder() const;               // "contact picture/" with its trailing slash

    // A private folder for work files, created on first use and removed with this object.
    // Empty when no temporary folder could be made.
    QString workFolder();

    static constexpr const char *DatabaseFileName = "Address.db";
    static constexpr const char *PictureFolderName = "contact picture";

private:
    bool seed(const QString &resource, const QString &name);

    QString m_path;
    QString m_error;
    std::unique_ptr<QTemporaryDir> m_work;
};

} // namespace dpx
