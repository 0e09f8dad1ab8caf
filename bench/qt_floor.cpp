// The smallest Qt Widgets program that shows a one-row list: what Qt itself holds in memory on
// this machine, for comparison with Kobako's resident size after start-up.
#include <QApplication>
#include <QListView>
#include <QStringListModel>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QStringListModel rows({QStringLiteral("copied text")});
    QListView list;
    list.setModel(&rows);
    list.setWindowTitle(QStringLiteral("Kobako"));
    list.show();
    return QApplication::exec();
}
