// A first start without a board-menu address: the prompt over the board list, an address typed
// into it, and the local board server started from it.

#include "app/SettingsFile.h"
#include "app/gui/FirstStartPrompt.h"
#include "app/gui/formMain.h"
#include "core/ServicesConfig.h"
#include "BoardSim.h"
#include "TestSupport.h"

#include <QLineEdit>
#include "platform/gui/ModelListView.h"
#include <QPointer>

#include <gtest/gtest.h>

namespace {

FirstStartPrompt *promptOf(formMain &window)
{
    return window.Frame3->findChild<FirstStartPrompt *>();
}

TEST(FirstStartPrompt, AddressTypedIsKeptAndListsTheBoards)
{
    testsupport::TempProgramFolder folder;
    testsupport::BoardSim sim;
    ASSERT_TRUE(sim.isRunning()) << sim.error().toStdString();
    setServices(sim.services());
    formMain window;
    window.Form_Load();
    FirstStartPrompt::showIfNeeded(window);
    QPointer<FirstStartPrompt> prompt = promptOf(window);
    ASSERT_TRUE(prompt);

    prompt->address->setText(sim.menuUrl());
    prompt->openAddress();
    EXPECT_GT(window.List3->count(), 0);
    EXPECT_TRUE(prompt.isNull() || prompt->isHidden());
    EXPECT_EQ(readBoardMenuUrl(settingsFilePath()), sim.menuUrl());

    // Line 1 set: no prompt on the next start.
    formMain later;
    later.Form_Load();
    FirstStartPrompt::showIfNeeded(later);
    EXPECT_EQ(promptOf(later), nullptr);
    setServices(ServicesConfig::defaults());
}

TEST(FirstStartPrompt, LocalServerListsItsMenuForThisRunOnly)
{
    testsupport::TempProgramFolder folder;
    formMain window;
    window.Form_Load();
    FirstStartPrompt::showIfNeeded(window);
    QPointer<FirstStartPrompt> prompt = promptOf(window);
    ASSERT_TRUE(prompt);

    prompt->tryLocalServer();
    EXPECT_GT(window.List3->count(), 0); // its live boards, through its services
    EXPECT_TRUE(prompt.isNull() || prompt->isHidden());
    EXPECT_TRUE(readBoardMenuUrl(settingsFilePath()).isEmpty());
    setServices(ServicesConfig::defaults());
}

} // namespace
