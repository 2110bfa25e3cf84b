#include "diagram/CellText.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const CellText& text) {
    return out << text.View();
}
