// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Translated.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace dpx {

namespace {

// By property name: {context, source text}, both UTF-8.
constexpr const char *SourcesProperty = "_dpx_translated";

void apply(QObject *object)
{
    const QVariantMap sources = object->property(SourcesProperty).toMap();
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        const QList<QByteArray> source = it->value<QList<QByteArray>>();
        if (source.size() == 2)
            object->setProperty(it.key().toUtf8().constData(),
                                QCoreApplication::translate(source[0].constData(), source[1].constData()));
    }
}

// Watches the application's events for LanguageChange: every widget receives one when the
// translation changes; its actions (which receive none) follow with it.
class Retranslator : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange && watched->isWidgetType()) {
            apply(watched);
            for (QAction *action : static_cast<QWidget *>(watched)->actions())
                apply(action);
        }
        return false;
    }
};

void watchLanguageChanges()
{
    static QPointer<Retranslator> retranslator;
    if (retranslator || !QCoreApplication::instance())
        return;
    retranslator = new Retranslator;
    retranslator->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(retranslator);
}

} // namespace

void setTranslated(QObject *object, const char *property, const char *context, const char *source)
{
    if (!object)
        return;
    watchLanguageChanges();
    QVariantMap sources = object->property(SourcesProperty).toMap();
    sources.insert(QString::fromUtf8(property), QVariant::fromValue(QList<QByteArray>{context, source}));
    object->setProperty(SourcesProperty, sources);
    object->setProperty(property, QCoreApplication::translate(context, source));
}

} // namespace dpx
