#pragma once
// Tool codes, as the editing role keeps them in the document's drawing mode.
// The code names the tool in use; what the tool does is its object's
// (tools/ToolSet.h finds the object of a code).
namespace tool {
constexpr int None = 0;
constexpr int Pen = 10;
constexpr int Brush = 20;
constexpr int Eraser = 30;
constexpr int TextBoxOpen = 40;
constexpr int ZoomBox = 50;
constexpr int SelectArea = 60;
constexpr int SelectionPresent = 70;
constexpr int Text = 80;
constexpr int Fill = 90;
constexpr int Line = 100;
constexpr int Rectangle = 110;
constexpr int Ellipse = 120;
} // namespace tool
