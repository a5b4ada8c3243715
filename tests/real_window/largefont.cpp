// SPDX-License-Identifier: MIT
// The window as it starts on a desktop with a larger font: the application
// font is set before the window is built, as a desktop's platform theme sets
// it. The real-window test runs this in place of the program.
//   quillmere_largefont POINTS
#include "window/frmfilenamereader.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSizeF(argc > 1 ? QByteArray(argv[1]).toDouble() : 11);
    QApplication::setFont(font);
    FrmFilenameReader window;
    window.show();
    return app.exec();
}
