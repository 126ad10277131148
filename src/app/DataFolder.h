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

    explicit DataFolder(QString path);
    ~DataFolder();

    // Creates the folder when missing and fills in whatever default file is absent.
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
