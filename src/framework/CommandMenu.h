#pragma once

#include <vector>

#include <QString>

#include "framework/CommandTable.h"

class CommandRouter;
class CommandTarget;
class QMenu;
class QWidget;

// A context menu of command items. `owner` answers its own commands; the
// others go along the router's route. Items are enabled as their answers say.
QMenu *CreateCommandMenu(const QString &title, const std::vector<MenuItem> &items,
                         CommandTarget &owner, CommandRouter *router, QWidget *parent);
