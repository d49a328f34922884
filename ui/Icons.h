#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code: the four toolbar images of the
// main window's image list (18 × 18) and the maker's logo for btnHvweb.
enum TZyImage : int32_t {
    zimConnect = 0,
    zimDisconnect = 1,
    zimOptions = 2,
    zimUpdate = 3,
};

QPixmap ZyImage(TZyImage image, int size = 18);
QIcon ZyIcon(TZyImage image);
QPixmap ZyLogo(QSize size = QSize(83, 28));
