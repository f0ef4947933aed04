// SPDX-License-Identifier: MIT
#include "ui/filelist/FileListAccessible.h"

#include "ui/filelist/FileListModel.h"
#include "ui/filelist/FileListView.h"

#include <QWindow>

namespace {

QAccessibleInterface *createForFileListView(const QString &className, QObject *object)
{
    if (className != QLatin1String(FileListView::staticMetaObject.className()))
        return nullptr;
    auto *view = qobject_cast<FileListView *>(object);
    return view ? new FileListAccessible(view) : nullptr;
}

} // namespace

FileListAccessible::FileListAccessible(FileListView *view)
    : QAccessibleWidget(view, QAccessible::List)
{
}

FileListAccessible::~FileListAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
}

int FileListAccessible::childCount() const
{
    return view()->fileModel().fileRows();
}

QAccessibleInterface *FileListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto found = m_items.constFind(index);
    if (found == m_items.constEnd())
        found = m_items.insert(index, QAccessible::registerAccessibleInterface(new FileListItemAccessible(view(), index)));
    return QAccessible::accessibleInterface(*found);
}

int FileListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *item = dynamic_cast<const FileListItemAccessible *>(child);
    if (!item || item->parent() != this || item->row() >= childCount())
        return -1;
    return item->row();
}

QAccessibleInterface *FileListAccessible::childAt(int x, int y) const
{
    const QPoint local = view()->viewport()->mapFromGlobal(QPoint(x, y));
    return child(FileListModel::rowOf(view()->indexAt(local)));
}

QAccessibleInterface *FileListAccessible::focusChild() const
{
    return view()->hasFocus() ? child(view()->currentRow()) : nullptr;
}

QString FileListAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && view()->accessibleName().isEmpty())
        return QStringLiteral("Files");
    return QAccessibleWidget::text(t);
}

void FileListAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForFileListView);
        return true;
    }();
    Q_UNUSED(installed);
}

FileListView *FileListAccessible::view() const
{
    return static_cast<FileListView *>(widget());
}

FileListItemAccessible::FileListItemAccessible(FileListView *view, int row)
    : m_view(view)
    , m_row(row)
{
}

bool FileListItemAccessible::isValid() const
{
    return m_view && m_view->fileModel().hasRow(m_row);
}

QWindow *FileListItemAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *FileListItemAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
}

QString FileListItemAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    switch (t) {
    case QAccessible::Name:
        return m_view->fileModel().spokenText(m_row);
    case QAccessible::Description:
        // The window names its column headings here.
        return m_view->accessibleDescription();
    default:
        return QString();
    }
}

QRect FileListItemAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect cell = m_view->checkCellRect(m_row);
    const QRect line(cell.left(), cell.top(), m_view->columnWidth(m_row % 2), cell.height());
    return QRect(m_view->viewport()->mapToGlobal(line.topLeft()), line.size());
}

QAccessible::State FileListItemAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const FileListModel &model = m_view->fileModel();
    state.checkable = true;
    state.checked = model.isTicked(m_row);
    state.disabled = !model.isEnabled(m_row);
    state.focusable = true;
    state.focused = m_view->hasFocus() && m_view->currentRow() == m_row;
    state.active = m_view->currentRow() == m_row;
    state.offscreen = !m_view->isVisible() || !m_view->isRowOnScreen(m_row);
    state.invisible = !m_view->isVisible();
    return state;
}

void *FileListItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

QStringList FileListItemAccessible::actionNames() const
{
    if (!isValid())
        return {};
    QStringList names;
    if (m_view->fileModel().isEnabled(m_row))
        names << toggleAction() << pressAction();
    names << setFocusAction();
    return names;
}

void FileListItemAccessible::doAction(const QString &actionName)
{
    if (!isValid())
        return;
    if (actionName == toggleAction() || actionName == pressAction()) {
        m_view->fileModel().toggle(m_row); // refused for an empty slot
    } else if (actionName == setFocusAction()) {
        m_view->setCurrentRow(m_row);
        m_view->setFocus(Qt::OtherFocusReason);
    }
}
