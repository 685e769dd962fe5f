// The event state as the main window's procedure leaves it.
#include <gtest/gtest.h>

#include "console/event_state.h"
#include "console/wait_commands.h"
#include "console/window_procedure.h"
#include "core/program_state.h"
#include "platform/message_queue.h"

namespace morven {
namespace {

class EventStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Events = EventState{};
    MenuCommand = 0;
  }
  static int32_t Send(uint32_t number, uint32_t wparam, int32_t lparam = 0) {
    return MainWindowProcedure(platform::Message{0, number, wparam, lparam});
  }
};

TEST_F(EventStateTest, KeyBufferKeepsSixtyFourCodes) {
  for (int i = 0; i < 70; ++i) PushKey(static_cast<uint8_t>('a' + i % 26));
  EXPECT_EQ(Events.key_count, 64);
  EXPECT_EQ(Events.key_buffer[63], 'a' + 63 % 26);
  EXPECT_EQ(Events.last_char, 'a' + 69 % 26);  // still set for the dropped ones
  PushKey(0);
  EXPECT_EQ(Events.last_char, 1);
}

TEST_F(EventStateTest, HelpKeyOnlyWhileTheGeneralWaitRuns) {
  PushKey(5);
  EXPECT_FALSE(Events.help_key);
  Events.help_enabled = true;
  PushKey(5);
  EXPECT_TRUE(Events.help_key);
  PushKey('x');
  EXPECT_FALSE(Events.help_key);
}

TEST_F(EventStateTest, MessagesBecomeEvents) {
  Send(platform::kWmKeyDown, 0x1234);
  EXPECT_EQ(Events.last_key_down, 0x34);
  Send(platform::kWmChar, 'q');
  EXPECT_EQ(Events.last_char, 'q');
  Send(platform::kWmMouseMove, 0, platform::PointParam(70000, 5));
  EXPECT_EQ(Events.mouse_x, 70000 & 0xFFFF);
  EXPECT_EQ(Events.mouse_y, 5);
  Send(platform::kWmRButtonDown, platform::kMkRButton, platform::PointParam(1, 2));
  EXPECT_TRUE(Events.right_button);
  Send(platform::kWmLButtonDown, platform::kMkLButton, platform::PointParam(3, 4));
  EXPECT_TRUE(Events.left_button);
  EXPECT_FALSE(Events.right_button);
  Send(platform::kWmTimer, 2);
  EXPECT_FALSE(Events.timer_fired);
  Send(platform::kWmTimer, 1);
  EXPECT_TRUE(Events.timer_fired);
  EXPECT_EQ(Events.last_message.number, platform::kWmTimer);
}

TEST_F(EventStateTest, CommandsFromMenusAndControls) {
  struct Case {
    uint32_t wparam;
    int32_t lparam;
    int16_t menu_command;
  };
  const Case cases[] = {
      {7, 0, 7}, {32767, 0, 255}, {0xF060, 0, -4000}, {0x000203E8, 0x55, -1000}, {0x000103E8, 0x55, -1000},
  };
  for (const Case& c : cases) {
    Events.mouse_x = 9;
    Send(platform::kWmCommand, c.wparam, c.lparam);
    EXPECT_EQ(MenuCommand, c.menu_command) << c.wparam;
    EXPECT_EQ(Events.focus_window, static_cast<uint32_t>(c.lparam));
    EXPECT_EQ(Events.mouse_x, c.lparam == 0 ? 0 : 9);
  }
}

TEST_F(EventStateTest, ChildClicks) {
  Send(platform::kWmParentNotify, platform::kWmLButtonDown, platform::PointParam(11, 12));
  EXPECT_TRUE(Events.left_child_click);
  EXPECT_EQ(Events.mouse_x, 11);
  Send(platform::kWmParentNotify, platform::kWmRButtonDown, platform::PointParam(13, 14));
  EXPECT_TRUE(Events.right_child_click);
  EXPECT_FALSE(Events.left_child_click);
}

TEST_F(EventStateTest, PartnerProtocol) {
  Send(996, 4321);
  EXPECT_EQ(Events.partner_window, 4321u);
  EndPartnerCommand();
  EXPECT_TRUE(LineHandled);
  EXPECT_EQ(Events.partner_window, 0u);
  platform::Message m;
  ASSERT_TRUE(platform::PeekMessage(m, true));
  EXPECT_EQ(m.window, 4321u);
  EXPECT_EQ(m.number, 993u);
}

}  // namespace
}  // namespace morven
