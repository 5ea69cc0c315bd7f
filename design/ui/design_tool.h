#pragma once
// The editor's eight tools, in the order of their codes, and how each takes the mouse.

#include <cstdint>

enum class DesignTool : uint8_t {
  Pencil = 0,
  Line = 1,
  Pickup = 2,
  Ellipse = 3,
  Rectangle = 4,
  Fill = 5,
  FilledRectangle = 6,
  FilledEllipse = 7,
};

inline constexpr int kDesignToolCount = 8;

// The tools that show a rubber band while the button is held.
constexpr bool DrawsBand(DesignTool tool) {
  return tool == DesignTool::Line || tool == DesignTool::Ellipse || tool == DesignTool::Rectangle ||
         tool == DesignTool::FilledRectangle || tool == DesignTool::FilledEllipse;
}

constexpr bool IsEllipse(DesignTool tool) {
  return tool == DesignTool::Ellipse || tool == DesignTool::FilledEllipse;
}
