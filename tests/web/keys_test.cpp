// The browser build's keys: DOM names to Win32 virtual keys, the messages they make, and which keys the
// page keeps from the browser.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/web/WebKeys.h"

using namespace platform;

TEST(WebKeysTest, DomNamesBecomeVirtualKeys) {
  // Letters and digits by what the layout makes of the key (a German Z where US has Y); where the
  // layout gives none (Option+W on a Mac, the French number row) by the key's place; the pad's
  // digits are keys of their own; keys the demo cannot see are 0.
  // clang-format off
  const std::tuple<const char*, const char*, uint32_t> cases[] = {
      {"p", "KeyP", 'P'}, {"W", "KeyW", 'W'}, {"z", "KeyY", 'Z'}, {"Z", "KeyY", 'Z'}, {"&", "Digit1", '1'},
      {"\xe2\x88\x91", "KeyW", 'W'}, {"7", "Digit7", '7'}, {"1", "Numpad1", VK_NUMPAD0 + 1},
      {"F12", "F12", VK_F12}, {"Escape", "Escape", VK_ESCAPE}, {"ArrowLeft", "ArrowLeft", VK_LEFT},
      {"ArrowDown", "ArrowDown", VK_DOWN}, {"Insert", "Insert", VK_INSERT}, {"Delete", "Delete", VK_DELETE},
      {"Alt", "AltLeft", VK_MENU}, {"Enter", "NumpadEnter", VK_RETURN}, {"F13", "F13", 0},
      {"F1", "F1", VK_F1}, {"Dead", "Backquote", 0}, {"", "", 0}};
  // clang-format on
  for (const auto& [key, code, vk] : cases) EXPECT_EQ(VirtualKeyFromDom(key, code), vk) << code;
  // Scripted key events carry the key a US layout gives.
  EXPECT_EQ(DomKeyForCode("KeyI") + DomKeyForCode("Digit4") + DomKeyForCode("Escape"), "i4Escape");
}

TEST(WebKeysTest, KeyMessagesFollowWin32) {
  // One sequence of events: P down, auto-repeat, up while Alt is held (it went down plain, so it comes up
  // plain), then Alt+P down and up, F10, Alt itself and a plain P up. lParam: a repeat count of 1 and flags.
  const intptr_t kUp = KF_REPEAT_BIT | KF_UP_BIT, kAlt = KF_ALTDOWN_BIT;
  // clang-format off
  const std::tuple<DomKey, uint32_t, intptr_t> events[] = {
      {{'P', true, false, false}, WM_KEYDOWN, 0}, {{'P', true, true, false}, WM_KEYDOWN, KF_REPEAT_BIT},
      {{'P', false, false, true}, WM_KEYUP, kUp | kAlt}, {{'P', true, false, true}, WM_SYSKEYDOWN, kAlt},
      {{'P', false, false, true}, WM_SYSKEYUP, kUp | kAlt}, {{VK_F10, true, false, false}, WM_SYSKEYDOWN, 0},
      {{VK_MENU, true, false, false}, WM_SYSKEYDOWN, kAlt}, {{'P', false, false, false}, WM_KEYUP, kUp}};
  // clang-format on
  std::array<bool, 256> plainDown{};
  for (size_t i = 0; i < std::size(events); ++i) {
    const auto& [key, message, flags] = events[i];
    const Message m = KeyMessage(7, key, plainDown);
    EXPECT_EQ(std::tuple(m.window, m.message, m.wParam, m.lParam), std::tuple(7u, message, key.vk, 1 | flags))
        << i;
  }
}

TEST(WebKeysTest, ThePageKeepsDemoKeysButNotTheBrowsersOwn) {
  // Escape leaves full screen, F5 reloads, Ctrl+R and Cmd+Q are the browser's and the system's.
  // clang-format off
  const std::tuple<uint32_t, bool, bool, bool> cases[] = {
      {VK_F1, false, false, true}, {VK_LEFT, false, false, true}, {'M', false, false, true},
      {VK_ESCAPE, false, false, false}, {VK_F1 + 4, false, false, false}, {VK_F12, false, false, false},
      {'R', true, false, false}, {'Q', false, true, false}, {0, false, false, false}};
  // clang-format on
  for (const auto& [vk, control, meta, claimed] : cases)
    EXPECT_EQ(ClaimsKey(vk, control, meta), claimed) << vk;
}
