// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/accessibility.h"

#include "controls/image_control.h"
#include "controls/picture_box.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace vantok
{

namespace
{

// Asked for each class of an object from the most derived up, before Qt's own factory.
QAccessibleInterface *platformAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1StringView(PictureBox::staticMetaObject.className()) ||
        className == QLatin1StringView(ImageControl::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (className == QLatin1StringView(QWidget::staticMetaObject.className()) && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(platformAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void nameComboBox(QComboBox *box, const QString &name)
{
    box->setAccessibleName(name);  // where Qt honours it
    auto *label = new QLabel(name, box->parentWidget());
    label->setBuddy(box);
    label->hide();
}

}  // namespace vantok
