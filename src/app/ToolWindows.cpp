// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolWindows.h"

#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace dpx {

namespace {

struct Registration {
    ToolWindows::Factory create;
    std::optional<QPoint> dockOffset;
};

std::array<Registration, ToolWindowCount> &registry()
{
    static std::array<Registration, ToolWindowCount> table;
    return table;
}

// The modules' own registrations come first, so that a later one (a test's) replaces them.
void loadCatalog()
{
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        registerToolWindows();
    }
}

} // namespace

void ToolWindows::registerFactory(ToolWindow which, Factory factory, std::optional<QPoint> dockOffset)
{
    loadCatalog();
    registry().at(size_t(which)) = Registration{std::move(factory), dockOffset};
}

bool ToolWindows::hasFactory(ToolWindow which)
{
    loadCatalog();
    return bool(registry().at(size_t(which)).create);
}

ToolWindows::ToolWindows(AppServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
    m_services.toolWindows = this;
    loadCatalog();
}

ToolWindows::~ToolWindows()
{
    closeAll();
}

QWidget *ToolWindows::window(ToolWindow which) const
{
    QWidget *shown = m_open.at(size_t(which)).data();
    if (shown && m_closing.at(size_t(which)) && shown->isHidden())
        return nullptr;
    return shown;
}

bool ToolWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close || event->type() == QEvent::Show) {
        for (int i = 0; i < ToolWindowCount; ++i)
            if (m_open[i] == watched)
                m_closing[i] = event->type() == QEvent::Close;
    }
    return QObject::eventFilter(watched, event);
}

QWidget *ToolWindows::open(ToolWindow which)
{
    if (QWidget *shown = window(which)) {
        shown->show();
        shown->raise();
        shown->activateWindow();
        return shown;
    }
    const Registration &entry = registry().at(size_t(which));
    if (!entry.create)
        return nullptr;
    QWidget *created = entry.create(m_services);
    if (!created)
        return nullptr;
    created->setAttribute(Qt::WA_DeleteOnClose);
    created->installEventFilter(this);
    // A dialog ended by Escape or its buttons is hidden without a close event.
    if (auto *dialog = qobject_cast<QDialog *>(created))
        connect(dialog, &QDialog::finished, this, [this, which] { m_closing.at(size_t(which)) = true; });
    m_open.at(size_t(which)) = created;
    m_closing.at(size_t(which)) = false;
    connect(created, &QObject::destroyed, this, [this, which] { Q_EMIT closed(which); });
    if (entry.dockOffset && m_services.dock)
        m_services.dock(created, *entry.dockOffset);
    created->show();
    created->raise();
    created->activateWindow();
    Q_EMIT opened(which);
    return created;
}

void ToolWindows::close(ToolWindow which)
{
    if (QWidget *shown = window(which))
        shown->close();
}

void ToolWindows::closeAll()
{
    for (int i = 0; i < ToolWindowCount; ++i) {
        close(ToolWindow(i));
        // At the end every window goes, also one that refused to close or awaits deletion.
        delete m_open[i].data();
    }
}

} // namespace dpx
