#pragma once

#include <cstdint>
#include <string>

namespace qm {

enum class Align : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum class BorderStyle : uint8_t { bsNone, bsSingle };
enum class DragMode : uint8_t { dmManual, dmAutomatic };

// Colours in the platform's 0x00BBGGRR form; system colours carry the top bit.
inline constexpr int32_t clSkyBlue = 0xF0CAA6;
inline constexpr int32_t clYellow = 0x00FFFF;
inline constexpr int32_t clWindow = static_cast<int32_t>(0x80000005u);

// The tree control's published settings that reach the file.
struct TreeSettings {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 121;
  int32_t height = 97;
  Align align = Align::alNone;
  BorderStyle borderStyle = BorderStyle::bsSingle;
  int32_t color = clWindow;
  DragMode dragMode = DragMode::dmManual;
  std::string images;  // reference by name, e.g. "frmMain.ImageList1"; empty: none
  int32_t indent = 19;
  int32_t tabOrder = -1;
  std::string test1;

  bool operator==(const TreeSettings&) const = default;

  // The control's own defaults: what a file that sets nothing leaves.
  static TreeSettings classDefaults() { return {}; }
  // The main window's configuration of a new tree at the window's initial size.
  static TreeSettings mainWindowInitial();
};

inline TreeSettings TreeSettings::mainWindowInitial() {
  TreeSettings s;
  s.left = 0;
  s.top = 22;
  s.width = 348;
  s.height = 293;
  s.align = Align::alClient;
  s.borderStyle = BorderStyle::bsSingle;
  s.color = clSkyBlue;
  s.dragMode = DragMode::dmAutomatic;
  s.images = "frmMain.ImageList1";
  s.indent = 19;
  s.tabOrder = 2;
  return s;
}

}  // namespace qm
