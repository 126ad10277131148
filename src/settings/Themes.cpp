// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Themes.h"

#include "settings/ThemeColours.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace dpx {

namespace {

int g_current = -1;

QString hex(QRgb value) { return QColor::fromRgb(value).name(); }

const ThemeColours *colours(int value)
{
    return value >= 0 && value < int(themeColours().size()) ? &themeColours()[size_t(value)]
                                                              : nullptr;
}

} // namespace

QPalette Themes::palette(int value)
{
    const ThemeColours *t = colours(value);
    if (!t)
        return QApplication::palette();
    const QColor button = QColor::fromRgb(t->button);
    QPalette p(QColor::fromRgb(t->buttonText), button, button.lighter(130), button.darker(160),
               button.darker(120), QColor::fromRgb(t->text), QColor::fromRgb(t->text).lighter(),
               QColor::fromRgb(t->base), QColor::fromRgb(t->window));
    p.setColor(QPalette::WindowText, QColor::fromRgb(t->windowText));
    p.setColor(QPalette::AlternateBase, QColor::fromRgb(t->alternateBase));
    p.setColor(QPalette::Highlight, QColor::fromRgb(t->highlight));
    p.setColor(QPalette::HighlightedText, QColor::fromRgb(t->highlightedText));
    p.setColor(QPalette::ToolTipBase, QColor::fromRgb(t->toolTipBase));
    p.setColor(QPalette::ToolTipText, QColor::fromRgb(t->toolTipText));
    p.setColor(QPalette::Link, QColor::fromRgb(t->highlight));
    // Halfway between text and field colour: readable on light and dark fields alike.
    p.setColor(QPalette::PlaceholderText,
               QColor((qRed(t->text) + qRed(t->base)) / 2, (qGreen(t->text) + qGreen(t->base)) / 2,
                      (qBlue(t->text) + qBlue(t->base)) / 2));
    const QColor dim = QColor::fromRgb(t->windowText);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role,
                   QColor((dim.red() + qRed(t->window)) / 2, (dim.green() + qGreen(t->window)) / 2,
                          (dim.blue() + qBlue(t->window)) / 2));
    return p;
}

QString Themes::styleSheet(int value)
{
    const ThemeColours *t = colours(value);
    if (!t)
        return {};
    QString sheet = QStringLiteral(R"(
QMenu { background: @window; color: @windowText; border: 1px solid @handleLine; padding: 2px; }
QMenu::item { padding: 4px 22px 4px 24px; border-radius: @radiuspx; }
QMenu::item:selected { background: @highlight; color: @highlightedText; }
QMenu::item:disabled { color: @groove; }
QMenu::separator { height: 1px; background: @handleLine; margin: 3px 6px; }
QMenu::indicator { width: 16px; height: 16px; left: 4px; }
QMenu::indicator:checked { image: url(:/themes/@folder/check.png); }
QDialog QScrollBar:vertical { background: @groove; width: 14px; margin: 0; }
QDialog QScrollBar:horizontal { background: @groove; height: 14px; margin: 0; }
QDialog QScrollBar::handle:vertical { border-image: url(:/themes/@folder/handle-v.png) 6 0 6 0 stretch stretch; border-width: 6px 0 6px 0; min-height: 28px; margin: 0 1px; }
QDialog QScrollBar::handle:horizontal { border-image: url(:/themes/@folder/handle-h.png) 0 6 0 6 stretch stretch; border-width: 0 6px 0 6px; min-width: 28px; margin: 1px 0; }
QDialog QScrollBar::add-line, QDialog QScrollBar::sub-line { width: 0; height: 0; }
QDialog QScrollBar::add-page, QDialog QScrollBar::sub-page { background: none; }
QDialog QRadioButton::indicator, QDialog QCheckBox::indicator { width: 13px; height: 13px; }
QDialog QRadioButton::indicator:checked { image: url(:/themes/@folder/radio-on.png); }
QDialog QRadioButton::indicator:unchecked { image: url(:/themes/@folder/radio-off.png); }
QDialog QCheckBox::indicator:checked { image: url(:/themes/@folder/checkbox-on.png); }
QDialog QCheckBox::indicator:unchecked { image: url(:/themes/@folder/checkbox-off.png); }
)");
    sheet.replace(QStringLiteral("@windowText"), hex(t->windowText))
        .replace(QStringLiteral("@window"), hex(t->window))
        .replace(QStringLiteral("@highlightedText"), hex(t->highlightedText))
        .replace(QStringLiteral("@highlight"), hex(t->highlight))
        .replace(QStringLiteral("@handleLine"), hex(t->handleLine))
        .replace(QStringLiteral("@groove"), hex(t->groove))
        .replace(QStringLiteral("@radius"), QString::number(qMin(t->handleRadius, 4)))
        .replace(QStringLiteral("@folder"), QString::fromLatin1(t->folder));
    return sheet;
}

bool Themes::apply(int value)
{
    if (!colours(value))
        return false;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return false;
    // Once: with a style sheet set, QApplication::style() is the sheet's wrapper around it.
    static bool fusionSet = false;
    if (!fusionSet) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        fusionSet = true;
    }
    QApplication::setPalette(palette(value));
    app->setStyleSheet(styleSheet(value));
    g_current = value;
    return true;
}

int Themes::current()
{
    return g_current;
}

} // namespace dpx
