// A Qt editor for the paste tests: a window titled "text window" whose text is written to the
// file FILE whenever it changes.
//
//   text_window FILE
#include <QApplication>
#include <QPlainTextEdit>
#include <QSaveFile>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    QPlainTextEdit editor;
    editor.setWindowTitle("text window");
    QObject::connect(&editor, &QPlainTextEdit::textChanged, [&] {
        // Whole or not at all: the test reads the file while it changes.
        QSaveFile saved(file);
        if (saved.open(QIODevice::WriteOnly)) {
            saved.write(editor.toPlainText().toUtf8());
            saved.commit();
        }
    });
    editor.resize(300, 200);
    editor.show();
    return application.exec();
}
