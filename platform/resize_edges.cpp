#include "resize_edges.h"

#include "window_manager.h"

#include <QMouseEvent>

namespace kobako::platform {

namespace {
constexpr int kThickness = 4;
constexpr int kSmallest = 60;
} // namespace

ResizeEdges::ResizeEdges(QWidget &window) : QObject(&window), window_(window) {
    edges_ = {Qt::LeftEdge, Qt::RightEdge, Qt::BottomEdge, Qt::BottomEdge | Qt::LeftEdge,
              Qt::BottomEdge | Qt::RightEdge};
    const Qt::CursorShape cursors[] = {Qt::SizeHorCursor, Qt::SizeHorCursor, Qt::SizeVerCursor,
                                       Qt::SizeBDiagCursor, Qt::SizeFDiagCursor};
    for (size_t i = 0; i < handles_.size(); ++i) {
        handles_[i] = new QWidget(&window);
        handles_[i]->setCursor(cursors[i]);
        handles_[i]->installEventFilter(this);
    }
    place();
}

void ResizeEdges::place() {
    const int w = window_.width(), h = window_.height(), t = kThickness;
    handles_[0]->setGeometry(0, 0, t, h);
    handles_[1]->setGeometry(w - t, 0, t, h);
    handles_[2]->setGeometry(0, h - t, w, t);
    handles_[3]->setGeometry(0, h - 2 * t, 2 * t, 2 * t);
    handles_[4]->setGeometry(w - 2 * t, h - 2 * t, 2 * t, 2 * t);
    for (QWidget *handle : handles_)
        handle->raise();
}

bool ResizeEdges::eventFilter(QObject *watched, QEvent *event) {
    const auto handle = std::find(handles_.begin(), handles_.end(), watched);
    if (handle == handles_.end())
        return false;
    const Qt::Edges edges = edges_[handle - handles_.begin()];
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return true;
        // The window resizes itself, as it moves itself (see the caption bar).
        drag_ = Drag{edges, mouse->globalPosition().toPoint(),
                     QRect(windowPosition(window_), window_.size())};
        return true;
    case QEvent::MouseMove: {
        if (!drag_)
            return true;
        const QPoint moved = mouse->globalPosition().toPoint() - drag_->start;
        QRect geometry = drag_->geometry;
        if (drag_->edges & Qt::LeftEdge)
            geometry.setLeft(std::min(geometry.left() + moved.x(), geometry.right() - kSmallest));
        if (drag_->edges & Qt::RightEdge)
            geometry.setRight(std::max(geometry.right() + moved.x(), geometry.left() + kSmallest));
        if (drag_->edges & Qt::BottomEdge)
            geometry.setBottom(std::max(geometry.bottom() + moved.y(), geometry.top() + kSmallest));
        window_.setGeometry(geometry);
        return true;
    }
    case QEvent::MouseButtonRelease:
        drag_.reset();
        return true;
    default:
        return false;
    }
}

} // namespace kobako::platform
