/* Quorvex skin: a Qt style sheet for the connection screen and the boxes it owns.
   Fonts, sizes and positions stay the window's own; the skin gives colours, borders and the
   look of the push buttons. */

QGroupBox {
    border: 1px solid #9aa7bd;
    border-radius: 5px;
    margin-top: 7px;
}

QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 10px;
    padding: 0px 4px;
    color: #1f3d6b;
}

QLineEdit {
    border: 1px solid #a9b4c6;
    border-radius: 3px;
    padding: 1px 4px;
    background: #ffffff;
    selection-background-color: #3b6fb6;
    selection-color: #ffffff;
}

QLineEdit:focus {
    border: 1px solid #3b6fb6;
}

QPushButton {
    color: #17325c;
    border: 1px solid #7f93b5;
    border-radius: 4px;
    padding: 0px 3px;  /* the widest caption needs nearly the whole button */
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                stop: 0 #fdfdff, stop: 0.5 #e9eef7, stop: 1 #d6deec);
}

QPushButton:hover {
    border: 1px solid #3b6fb6;
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                stop: 0 #ffffff, stop: 0.5 #eef4fd, stop: 1 #dce7f8);
}

QPushButton:pressed {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                stop: 0 #cdd8ea, stop: 1 #e6ecf6);
}

QPushButton:focus {
    border: 2px solid #3b6fb6;
}

quorvex--MessageBox QPushButton, QInputDialog QPushButton, QFileDialog QPushButton {
    min-width: 72px;
    min-height: 22px;
}

/* Scroll bars (a long message, the folder picker): a light groove with the handle, the part the
   mouse takes, as the darker piece; no arrow buttons. */
QScrollBar:vertical {
    background: #eef2f8;
    border: 1px solid #c9d2e1;
    width: 14px;
    margin: 0px;
}

QScrollBar:horizontal {
    background: #eef2f8;
    border: 1px solid #c9d2e1;
    height: 14px;
    margin: 0px;
}

QScrollBar::handle:vertical, QScrollBar::handle:horizontal {
    background: #8ea2c4;
    border: 1px solid #6f84aa;
    border-radius: 3px;
    margin: 1px;
}

QScrollBar::handle:vertical {
    min-height: 24px;
}

QScrollBar::handle:horizontal {
    min-width: 24px;
}

QScrollBar::handle:vertical:hover, QScrollBar::handle:horizontal:hover {
    background: #7189b3;
}

QScrollBar::add-line, QScrollBar::sub-line {
    width: 0px;
    height: 0px;
    border: none;
}

QScrollBar::add-page, QScrollBar::sub-page {
    background: none;
}
