#pragma once
// What the window tests share: a screen of 1280 x 1024 and a fresh application around each test,
// a virtual clock, the questions the window asks recorded and answered with Answer, and the
// window itself (TForm1 or a test's subclass of it) on the test card set.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "patience/ui/MainForm.h"
#include "platform/core/Clock.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"

template <class TWindow>
class TWindowTest : public ::testing::Test {
 protected:
  explicit TWindowTest(int answer = mrNo) : Answer(answer) {}
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
  }
  // Fixtures with more to undo close the window first, undo theirs, then call this.
  void TearDown() override {
    Form.reset();
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  TWindow& Make(const QStringList& parameters = {}, const std::string& cardsets = StandardTestCardsetsDir()) {
    Form = std::make_unique<TWindow>(parameters, TForm1Options{cardsets});
    return *Form;
  }
  // The window shown and past its first activation.
  TWindow& Shown(const QStringList& parameters = {}) {
    Make(parameters);
    Form->show();
    QCoreApplication::processEvents();
    return *Form;
  }

  TVirtualClock Clock;
  TScopedClock ScopedClock{Clock};
  std::vector<TMessageRequest> Asked;
  int Answer;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Asked.push_back(r);
    return Answer;
  }};
  std::unique_ptr<TWindow> Form;
};
