// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Language.h"

#include <QCoreApplication>
#include <QSettings>

namespace dpx {

namespace {
LanguageSwitcher *g_active = nullptr;
}

QStringList Language::names()
{
    return {QString::fromLatin1(Default), QString::fromLatin1(English)};
}

QString Language::fromName(const QString &name)
{
    const QString wanted = name.trimmed().replace(QLatin1Char('-'), QLatin1Char('_'));
    for (const QString &known : names()) {
        if (wanted.compare(known, Qt::CaseInsensitive) == 0)
            return known;
    }
    return {};
}

QString Language::nativeName(const QString &name)
{
    if (name == QLatin1String(English))
        return QStringLiteral("English");
    return QStringLiteral("繁體中文");
}

QString Language::refusal(const QString &value, const QString &origin)
{
    QStringList choices;
    for (const QString &name : names())
        choices << QStringLiteral("%1 (%2)").arg(name, nativeName(name));
    return QStringLiteral("%1: unknown language \"%2\"; the languages are %3")
        .arg(origin, value, choices.join(QStringLiteral(", ")));
}

QString Language::saved(const QSettings &settings)
{
    const QVariant value = settings.value(QLatin1String(SettingsKey));
    const QString name = value.typeId() == QMetaType::QString ? fromName(value.toString()) : QString();
    return name.isEmpty() ? QString::fromLatin1(Default) : name;
}

void Language::save(QSettings &settings, const QString &name)
{
    settings.setValue(QLatin1String(SettingsKey), fromName(name).isEmpty() ? QString::fromLatin1(Default)
                                                                           : fromName(name));
}

QString Language::savedChoice()
{
    return saved(QSettings(QStringLiteral("dpx"), QStringLiteral("dpx")));
}

void Language::keepChoice(const QString &name)
{
    QSettings settings(QStringLiteral("dpx"), QStringLiteral("dpx"));
    save(settings, name);
}

QString Language::forStart(const QString &option, const QString &environment, const QString &kept,
                           QString *environmentProblem)
{
    if (!fromName(option).isEmpty())
        return fromName(option);
    if (!environment.isEmpty()) {
        if (!fromName(environment).isEmpty())
            return fromName(environment);
        if (environmentProblem)
            *environmentProblem = refusal(environment, QStringLiteral("DPX_LANG"));
    }
    return fromName(kept).isEmpty() ? QString::fromLatin1(Default) : fromName(kept);
}

LanguageSwitcher::LanguageSwitcher(const QString &directory, QObject *parent)
    : QObject(parent), m_directory(directory)
{
    g_active = this;
}

LanguageSwitcher::~LanguageSwitcher()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    if (g_active == this)
        g_active = nullptr;
}

LanguageSwitcher *LanguageSwitcher::active()
{
    return g_active;
}

bool LanguageSwitcher::apply(const QString &name)
{
    const QString language = Language::fromName(name);
    m_problem.clear();
    QString wanted = language;
    if (language.isEmpty()) {
        m_problem = Language::refusal(name, QStringLiteral("DPX"));
        wanted = QString::fromLatin1(Language::Default);
    }
    if (wanted == m_current && m_problem.isEmpty())
        return true;
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    if (wanted != QLatin1String(Language::Default)) {
        // An empty or damaged file does not load; a file that loads but translates nothing
        // would leave the default texts, which is the fallback anyway.
        if (m_translator.load(QStringLiteral("dpx_") + wanted, m_directory) && !m_translator.isEmpty()) {
            m_installed = QCoreApplication::installTranslator(&m_translator);
        }
        if (!m_installed) {
            // Said in both languages: the translation that would say it in English is missing.
            m_problem = QStringLiteral("無法載入英文翻譯,仍用中文 / The English translation "
                                       "could not be loaded");
            wanted = QString::fromLatin1(Language::Default);
        }
    }
    const bool changed = wanted != m_current;
    m_current = wanted;
    if (changed)
        Q_EMIT this->changed(m_current);
    return m_problem.isEmpty();
}

} // namespace dpx
