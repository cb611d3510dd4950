#include "PopupMenuAccessibility.h"

#include <QAccessibleObject>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

// A menu of a menu bar or of another menu is reached through the item that opens it; only
// a stand-alone pop-up needs the application to list it.
bool IsOpenStandalonePopup(const QWidget* widget) {
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (menu == nullptr || !menu->isWindow() || !menu->isVisible())
        return false;
    for (const QObject* holder : menu->menuAction()->associatedObjects())
        if (qobject_cast<const QMenu*>(holder) != nullptr ||
            qobject_cast<const QMenuBar*>(holder) != nullptr)
            return false;
    return true;
}

// Qt's view of the application, followed by its open stand-alone pop-up menus.
class ApplicationAccessible : public QAccessibleApplication {
public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + int(openPopups().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QList<QWidget*> popups = openPopups();
        if (index - windows < popups.size())
            return QAccessible::queryAccessibleInterface(popups[index - windows]);
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child != nullptr && child->object() != nullptr) {
            const int at = int(openPopups().indexOf(child->object()));
            if (at >= 0)
                return QAccessibleApplication::childCount() + at;
        }
        return QAccessibleApplication::indexOfChild(child);
    }

private:
    static QList<QWidget*> openPopups() {
        QList<QWidget*> popups;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (IsOpenStandalonePopup(widget))
                popups.append(widget);
        return popups;
    }
};

QAccessibleInterface* ApplicationFactory(const QString& /*className*/, QObject* object) {
    if (object != nullptr && object == qApp)
        return new ApplicationAccessible;
    return nullptr;
}

} // namespace

void InstallPopupMenuAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ApplicationFactory);
        // A view made before (a screen reader's bridge asks for the application at start-up)
        // would stay in Qt's cache and hide this one.
        QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(qApp);
        if (cached != nullptr && dynamic_cast<ApplicationAccessible*>(cached) == nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
        return true;
    }();
    (void)installed;
}
