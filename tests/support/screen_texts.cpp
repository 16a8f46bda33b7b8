#include "support/screen_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QWidget>

namespace vortan::test {

namespace {

void addAction(QStringList& lines, const QAction& action, const QString& indent)
{
    if (action.isSeparator()) {
        lines << indent + action.objectName() + QStringLiteral(" -");
        return;
    }
    QString line = indent + action.objectName() + QStringLiteral(" \"") + action.text() + u'"';
    if (!action.statusTip().isEmpty() && action.statusTip() != action.text())
        line += QStringLiteral(" status \"") + action.statusTip() + u'"';
    if (!action.toolTip().isEmpty() && action.toolTip() != action.text() && action.toolTip() != action.iconText())
        line += QStringLiteral(" tip \"") + action.toolTip() + u'"';
    if (!action.icon().isNull())
        line += QStringLiteral(" icon");
    if (!action.shortcut().isEmpty())
        line += QStringLiteral(" key ") + action.shortcut().toString();
    lines << line;
    if (action.menu())
        for (const QAction* item : action.menu()->actions())
            addAction(lines, *item, indent + QStringLiteral("  "));
}

QString captionOf(const QWidget& widget)
{
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(&widget))
        return group->title();
    if (auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return edit->maxLength() < 32767 ? QStringLiteral("max %1").arg(edit->maxLength()) : QString();
    if (auto* tabs = qobject_cast<const QTabWidget*>(&widget)) {
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        return texts.join(u'|');
    }
    return QString();
}

void addWidget(QStringList& lines, const QWidget& widget)
{
    const QString caption = captionOf(widget);
    if (!widget.objectName().isEmpty() && !widget.objectName().startsWith(QLatin1String("qt_"))
        && (!caption.isEmpty() || widget.isWindow()))
        lines << widget.objectName() + QStringLiteral(" \"") + (widget.isWindow() ? widget.windowTitle() : caption)
                + u'"';
    if (qobject_cast<const QToolBar*>(&widget) || qobject_cast<const QMenuBar*>(&widget))
        for (const QAction* action : widget.actions())
            addAction(lines, *action, QStringLiteral("  "));
    for (const QObject* child : widget.children())
        if (auto* childWidget = qobject_cast<const QWidget*>(child); childWidget && !qobject_cast<const QMenu*>(child))
            addWidget(lines, *childWidget);
}

} // namespace

QString screenTexts(const QWidget& screen)
{
    QStringList lines;
    addWidget(lines, screen);
    return lines.join(u'\n') + u'\n';
}

} // namespace vortan::test
