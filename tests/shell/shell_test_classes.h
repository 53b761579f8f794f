#pragma once

#include <vector>

#include <QObject>

namespace vell::testing {

QObject* MakeStartupTest(QObject* parent);
QObject* MakeViewTest(QObject* parent);
QObject* MakeFrameTest(QObject* parent);
QObject* MakeDocumentTest(QObject* parent);
QObject* MakePlayersDialogTest(QObject* parent);
QObject* MakeWindowFeaturesTest(QObject* parent);
QObject* MakeBoardViewTest(QObject* parent);
QObject* MakeLanguageTest(QObject* parent);

inline std::vector<QObject*> MakeTests(QObject* parent) {
    return {MakeStartupTest(parent),       MakeViewTest(parent),
            MakeFrameTest(parent),         MakeDocumentTest(parent),
            MakePlayersDialogTest(parent), MakeWindowFeaturesTest(parent),
            MakeBoardViewTest(parent),     MakeLanguageTest(parent)};
}

}  // namespace vell::testing
