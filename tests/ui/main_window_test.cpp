// The frame of the window: tab captions and order.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "ui/hamiltonian_cycles_dlg.h"

TEST(MainWindow, FiveTabsInOrder) {
  CHamiltonianCyclesDlg window;
  window.initialise(std::nullopt);
  const char* captions[] = {"Graph Editor", "Graph Generation", "Graph Information", "Stone Carver's HC Algorithm",
                            "coHC Proof System"};
  ASSERT_EQ(window.tabs()->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(window.tabs()->tabText(i).toStdString(), captions[i]);
}
