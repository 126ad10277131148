// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>

class QSettings;

namespace dpx {

// The languages DPX speaks. Traditional Chinese is the language every text is written in, so
// it needs no translation; English comes from a translation compiled into the program.
namespace Language {
inline constexpr const char *Default = "zh_TW";
inline constexpr const char *English = "en";
inline constexpr const char *SettingsKey = "language";

QStringList names();
// The language a name means ("en", "EN", "zh_TW", "zh-tw"); empty for anything else.
QString fromName(const QString &name);
// Each language's name in itself, as the language menu shows it.
QString nativeName(const QString &name);
// Why a name is refused, with the languages there are.
QString refusal(const QString &value, const QString &origin);
// The choice kept in the settings; a missing or damaged value is the default language.
QString saved(const QSettings &settings);
void save(QSettings &settings, const QString &name);
// The same in the user's own settings of the program.
QString savedChoice();
void keepChoice(const QString &name);
// The language a start uses: the option, else DPX_LANG, else the kept choice. An unknown
// DPX_LANG is not used; environmentProblem then says why.
QString forStart(const QString &option, const QString &environment, const QString &kept,
                 QString *environmentProblem);
} // namespace Language

// Loads the translation of the chosen language into the application. Windows already open
// receive QEvent::LanguageChange and retranslate themselves.
class LanguageSwitcher : public QObject {
    Q_OBJECT
public:
    // directory holds dpx_<name>.qm (the program's own resource unless a test says otherwise).
    explicit LanguageSwitcher(const QString &directory = QStringLiteral(":/i18n"),
                              QObject *parent = nullptr);
    ~LanguageSwitcher() override;

    // Switches to a language; a translation that cannot be loaded leaves the default language
    // and returns false with problem() set. Unknown names are refused the same way.
    bool apply(const QString &name);
    QString current() const { return m_current; }
    QString problem() const { return m_problem; }

    // The switcher of the running program (null before it exists).
    static LanguageSwitcher *active();

Q_SIGNALS:
    void changed(const QString &name);

private:
    QString m_directory;
    QTranslator m_translator;
    bool m_installed = false;
    QString m_current = QString::fromLatin1(Language::Default);
    QString m_problem;
};

} // namespace dpx
