// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Splits vCard 2.1, 3.0 and 4.0 files into cards of raw properties, on bytes: the values stay
// undecoded (each property may have its own ENCODING and CHARSET; see VCardContact).

#include <QByteArray>
#include <QList>
#include <QString>

namespace dpx {

struct VCardProperty {
    QByteArray name; // upper case, group prefix ("item1.") dropped
    // Parameters in order: key in upper case, value without quotes. A bare 2.1 parameter
    // (TEL;WORK;FAX) is a TYPE, or an ENCODING when it names one.
    QList<std::pair<QByteArray, QByteArray>> params;
    QByteArray value; // as written after the first ':' outside quotes, lines unfolded
    int line = 0;

    QByteArray param(QByteArrayView key) const; // first value of the key, empty when absent
    // TYPE values in upper case, lists ("work,voice") split, repeated TYPEs joined.
    QList<QByteArray> types() const;
    bool hasType(QByteArrayView type) const;
    bool isPreferred() const; // TYPE=PREF or a PREF parameter
};

struct VCardCard {
    int line = 0; // of BEGIN:VCARD
    QList<VCardProperty> properties;
    int faultLine = 0; // a structural fault fails the whole card
    QString fault;
    bool hasFault() const { return !fault.isEmpty(); }
};

class VCardParser {
public:
    static constexpr qsizetype kMostLineBytes = 16 * 1024 * 1024;
    static constexpr int kMostNesting = 4;

    // `data` in UTF-8 or a legacy code page; UTF-16 and UTF-32 are turned into UTF-8 here.
    explicit VCardParser(QByteArray data);

    // The next card; false at the end. Lines outside BEGIN/END are ignored.
    bool next(VCardCard &card);
    qint64 position() const { return m_pos; }
    qint64 size() const { return m_data.size(); }

    // True when the text (after a byte order mark and blank lines) starts with BEGIN:VCARD.
    static bool looksLikeVCard(const QByteArray &data);
    // UTF-16/32 (with a mark, or UTF-16 without one) as UTF-8; other data unchanged.
    static QByteArray toUtf8Bytes(const QByteArray &data);

private:
    QByteArrayView physicalLine();
    QByteArray logicalLine(int *firstLine, bool *tooLong);

    QByteArray m_data;
    qsizetype m_pos = 0;
    int m_line = 0; // physical lines read so far
};

} // namespace dpx
