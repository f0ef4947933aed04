// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class FileListView;

// The file list as assistive tools see it: a list with one item per file, in
// screen order, whether on screen or scrolled away. An item reads as
// "File 3: 01/05/23 - 10:02:00, 2.345678, 100.0", is checkable and checked
// with its tick, and its toggle and press actions tick it in the list's model
// (the one the export reads). An empty slot's item is disabled and has no
// tick actions.
class FileListAccessible : public QAccessibleWidget
{
public:
    explicit FileListAccessible(FileListView *view);
    ~FileListAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    QString text(QAccessible::Text t) const override;

    // Registers the interface with Qt's accessibility; safe to call repeatedly.
    static void install();

private:
    FileListView *view() const;

    mutable QHash<int, QAccessible::Id> m_items; // made when first asked for
};

// One file of the list.
class FileListItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    FileListItemAccessible(FileListView *view, int row);

    int row() const { return m_row; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    // A check box, as each file's row is: Linux's bridge drops the checkable
    // state of a list item, and an unticked item would be heard as nothing.
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<FileListView> m_view;
    int m_row;
};
