#include "ui/common/keyed_toolbar_widget.h"

#include <QAction>
#include <QToolBar>

namespace vortan {

QToolBar* CreateKeyedToolbar(QWidget* parent, const std::vector<ToolbarButton>& buttons,
                             std::function<void(const QString& key)> onClick)
{
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ToolbarButton& button : buttons) {
        QAction* action = toolbar->addAction(button.text);
        action->setObjectName(button.key);
        const QString key = button.key;
        QObject::connect(action, &QAction::triggered, toolbar, [onClick, key] { onClick(key); });
    }
    return toolbar;
}

} // namespace vortan
