#include "framework/CommandMenu.h"

#include <QMenu>

#include "framework/CommandRouter.h"

QMenu *CreateCommandMenu(const QString &title, const std::vector<MenuItem> &items,
                         CommandTarget &owner, CommandRouter *router, QWidget *parent) {
    auto *menu = new QMenu(title, parent);
    for (const MenuItem &item : items) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        const int id = item.id;
        QAction *action = menu->addAction(QString::fromUtf8(MenuItemText(item)));
        CommandState state;
        if (!owner.UpdateCommand(id, state) && router)
            state = router->QueryCommand(id);
        action->setEnabled(state.enabled);
        QObject::connect(action, &QAction::triggered, menu, [&owner, router, id] {
            CommandState own;
            if (owner.UpdateCommand(id, own)) {
                if (own.enabled)
                    owner.RunCommand(id);
                return;
            }
            if (router)
                router->SendCommand(id);
        });
    }
    return menu;
}
