#include "windows/TCustomCommand.h"
#include "windows/TDisplayForm.h"
#include "windows/TInputForm.h"
#include "windows/TLogoForm.h"

#include <QAccessible>
#include <QLabel>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Every control the keyboard can reach, and every picture, tells assistive tools its name.
void ExpectNamedControls(QWidget& window)
{
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(widget);
        const bool picture = label != nullptr && label->text().isEmpty();
        if (widget->focusPolicy() == Qt::NoFocus && !picture)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(accessible, nullptr) << widget->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << window.objectName().toStdString() << ": " << widget->objectName().toStdString();
    }
}

TEST(AccessibilityTest, EveryWindowNamesItsControls)
{
    std::unique_ptr<QWidget> windows[] = {std::make_unique<TCustomCommand>(), std::make_unique<TInputForm>(),
                                          std::make_unique<TDisplayForm>(), std::make_unique<TLogoForm>()};
    for (const auto& window : windows)
        ExpectNamedControls(*window);
}

} // namespace
