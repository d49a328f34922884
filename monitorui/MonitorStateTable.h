#pragma once

#include <string>
#include <vector>

class QTableWidget;

// Fills a three-column table (what, channel A, channel B) from the virtual
// instrument's state lines: the instrument's own keys first (their value
// across both channel columns), then each channel key with A's and B's values
// side by side.
void FillStateTable(QTableWidget* table, const std::vector<std::string>& stateLines);
