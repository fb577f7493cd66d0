#include "ModalDriver.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
constexpr int MaximumLooks = 100;

void LookForModal(std::function<void(QWidget*)> action, int looks)
{
    QTimer::singleShot(0, [action = std::move(action), looks] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            if (looks < MaximumLooks)
                LookForModal(action, looks + 1);
            else
                ADD_FAILURE() << "no modal window opened";
            return;
        }
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
}
} // namespace

void WhenModalOpens(std::function<void(QWidget*)> action)
{
    LookForModal(std::move(action), 0);
}
