#pragma once
#include <QString>
#include <QWidget>
#include <map>

namespace kel::ui {

// The main window's controls by identifier. Each control's object name is its
// identifier as text ("1081"), so tests and tools find it with findChild().
class ControlMap {
public:
    template <class W>
    W* Add(int id, W* widget)
    {
        widget->setObjectName(QString::number(id));
        controls_[id] = widget;
        return widget;
    }

    // Null for an identifier that has no widget (controls no page ever shows).
    QWidget* Find(int id) const
    {
        const auto it = controls_.find(id);
        return it == controls_.end() ? nullptr : it->second;
    }

    template <class W>
    W* As(int id) const
    {
        return qobject_cast<W*>(Find(id));
    }

    const std::map<int, QWidget*>& All() const { return controls_; }

private:
    std::map<int, QWidget*> controls_;
};

}  // namespace kel::ui
