#pragma once

#include <array>

class QWidget;

namespace vorlac
{

class ClickLabel;
class HintLine;

// The five pictures round the figure that open the panels (Image3(1..5): prism, medium, display,
// source, protractor) and Picture1, each named for screen readers and with its hint.
struct PanelIcons {
    QWidget *picture = nullptr;
    std::array<ClickLabel *, 5> icons = {};
};
PanelIcons makePanelIcons(QWidget &window, HintLine &hints);

} // namespace vorlac
