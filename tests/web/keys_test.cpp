// The browser build's keys: DOM names, the Win32 messages they make, the keys the page keeps
//
// The browser build's keys: DOM names to Win32 virtual keys, the messages they make, and which keys the page
// keeps from the browser.
#include <gtest/gtest.h>

#include "platform/web/WebKeys.h"

namespace {

using namespace platform;

TEST(WebKeysTest, DomNamesBecomeVirtualKeys) {
  const struct {
    const char* key;
    const char* code;
    uint32_t vk;
  } cases[] = {
      {"p", "KeyP", 'P'},             // letters by what the layout makes of the key
      {"W", "KeyW", 'W'},             // with Shift
      {"z", "KeyY", 'Z'},             // a German layout's Z where US has Y
      {"\xe2\x88\x91", "KeyW", 'W'},  // Option+W on a Mac: the place names it
      {"&", "Digit1", '1'},           // the French number row
      {"7", "Digit7", '7'},
      {"1", "Numpad1", VK_NUMPAD0 + 1},  // the pad's digits are keys of their own
      {"F1", "F1", VK_F1},
      {"F12", "F12", VK_F12},
      {"Escape", "Escape", VK_ESCAPE},
      {"ArrowLeft", "ArrowLeft", VK_LEFT},
      {"ArrowDown", "ArrowDown", VK_DOWN},
      {"Insert", "Insert", VK_INSERT},
      {"Delete", "Delete", VK_DELETE},
      {"Alt", "AltLeft", VK_MENU},
      {"Enter", "NumpadEnter", VK_RETURN},
      {"F13", "F13", 0},
      {"Dead", "Backquote", 0},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(VirtualKeyFromDom(c.key, c.code), c.vk);
  }
}

TEST(WebKeysTest, ScriptedCodesGetTheKeyAUsLayoutGives) {
  EXPECT_EQ(DomKeyForCode("KeyI"), "i");
  EXPECT_EQ(DomKeyForCode("Digit4"), "4");
  EXPECT_EQ(DomKeyForCode("Escape"), "Escape");
}

TEST(WebKeysTest, KeyMessagesFollowWin32) {
  const struct {
    const char* what;
    DomKey key;
    uint32_t message;
    intptr_t flags;  // lParam bits above the repeat count
  } cases[] = {
      {"plain down", {'P', true, false, false}, WM_KEYDOWN, 0},
      {"auto-repeat", {'P', true, true, false}, WM_KEYDOWN, KF_REPEAT_BIT},
      {"plain up", {'P', false, false, false}, WM_KEYUP, KF_REPEAT_BIT | KF_UP_BIT},
      {"Alt+P down", {'P', true, false, true}, WM_SYSKEYDOWN, KF_ALTDOWN_BIT},
      {"F10 down", {VK_F10, true, false, false}, WM_SYSKEYDOWN, 0},
      {"Alt down", {VK_MENU, true, false, false}, WM_SYSKEYDOWN, KF_ALTDOWN_BIT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::array<bool, 256> plainDown{};
    const Message message = KeyMessage(7, c.key, plainDown);
    EXPECT_EQ(message.window, 7u);
    EXPECT_EQ(message.message, c.message);
    EXPECT_EQ(message.wParam, c.key.vk);
    EXPECT_EQ(message.lParam, 1 | c.flags);
  }
}

TEST(WebKeysTest, AKeyThatWentDownPlainComesUpPlainThroughAlt) {
  std::array<bool, 256> plainDown{};
  EXPECT_EQ(KeyMessage(1, {'W', true, false, false}, plainDown).message, WM_KEYDOWN);
  // Alt pressed while W is held, W let go before Alt: its flag must not stay set.
  EXPECT_EQ(KeyMessage(1, {'W', false, false, true}, plainDown).message, WM_KEYUP);
  // Down and up with Alt held are system keys throughout.
  EXPECT_EQ(KeyMessage(1, {'W', true, false, true}, plainDown).message, WM_SYSKEYDOWN);
  EXPECT_EQ(KeyMessage(1, {'W', false, false, true}, plainDown).message, WM_SYSKEYUP);
}

TEST(WebKeysTest, ThePageKeepsDemoKeysButNotTheBrowsersOwn) {
  EXPECT_TRUE(ClaimsKey(VK_F1, false, false));
  EXPECT_TRUE(ClaimsKey(VK_LEFT, false, false));
  EXPECT_TRUE(ClaimsKey('M', false, false));
  EXPECT_FALSE(ClaimsKey(VK_ESCAPE, false, false));  // leaves full screen
  EXPECT_FALSE(ClaimsKey(VK_F1 + 4, false, false));  // F5 reloads
  EXPECT_FALSE(ClaimsKey(VK_F12, false, false));
  EXPECT_FALSE(ClaimsKey('R', true, false));  // Ctrl+R
  EXPECT_FALSE(ClaimsKey('Q', false, true));  // Cmd+Q
  EXPECT_FALSE(ClaimsKey(0, false, false));
}

}  // namespace
