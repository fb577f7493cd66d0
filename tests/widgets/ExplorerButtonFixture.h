#pragma once

#include "widgets/ExplorerButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A shown window with two picture buttons side by side.
class ExplorerButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 120);
        first = new TExplorerButton(window.get());
        first->setObjectName(QStringLiteral("ExplorerButton2"));
        first->move(10, 10);
        second = new TExplorerButton(window.get());
        second->move(100, 10);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    static void Click(TExplorerButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }

    static void Enter(TExplorerButton* button)
    {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(button, &enter);
    }

    static void Leave(TExplorerButton* button)
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
    }

    std::unique_ptr<QWidget> window;
    TExplorerButton* first = nullptr;
    TExplorerButton* second = nullptr;
};
