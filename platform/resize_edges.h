#pragma once

#include <QWidget>

#include <array>
#include <optional>

namespace kobako::platform {

// Thin handles along the left, right and bottom edges and the two lower corners of a frameless
// window: dragging one resizes the window.
class ResizeEdges : public QObject {
    Q_OBJECT
  public:
    explicit ResizeEdges(QWidget &window);
    // Keeps the handles on the edges; call after every resize of the window.
    void place();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Drag {
        Qt::Edges edges;
        QPoint start;
        QRect geometry;
    };
    QWidget &window_;
    std::array<QWidget *, 5> handles_{};
    std::array<Qt::Edges, 5> edges_{};
    std::optional<Drag> drag_;
};

} // namespace kobako::platform
