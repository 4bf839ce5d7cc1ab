#include "TRadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        itemIndex_ = id;
        emit Click();
    });
}

void TRadioGroup::setItems(const QStringList& items) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    items_ = items;
    QWidget* previous = this;
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_[i], this);
        group_->addButton(button, i);
        connect(button, &QAbstractButton::toggled, this, &TRadioGroup::FixTabStops);
        button->show();
        // New items go to the end of the focus chain; they belong where the group stands.
        // setTabOrder skips a widget that takes no focus, so the group takes it for a moment.
        const Qt::FocusPolicy policy = previous->focusPolicy();
        previous->setFocusPolicy(Qt::TabFocus);
        QWidget::setTabOrder(previous, button);
        previous->setFocusPolicy(policy);
        previous = button;
    }
    // The form may give the index before the items; it holds for the new items.
    setItemIndex(itemIndex_);
    FixTabStops();
    Arrange();
}

int TRadioGroup::itemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    itemIndex_ = index;
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item chosen: an exclusive group only lets go of its choice when made non-exclusive.
    if (QAbstractButton* checked = group_->checkedButton()) {
        group_->setExclusive(false);
        checked->setChecked(false);
        group_->setExclusive(true);
    }
}

// Tab reaches the group at its chosen item (the first when none is chosen); the arrows move
// the choice among the items, as QAbstractButton does for buttons of an exclusive group.
void TRadioGroup::FixTabStops() {
    const QList<QAbstractButton*> buttons = group_->buttons();
    const QAbstractButton* stop = group_->checkedButton();
    if (!stop && !buttons.isEmpty()) {
        stop = buttons.first();
    }
    for (QAbstractButton* button : buttons) {
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    Arrange();
}

void TRadioGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Arrange();
    }
}

// Items share the space inside the frame, below the caption, in equal rows, as a radio group
// lays them out; where that space is the style's to say.
void TRadioGroup::Arrange() {
    const QList<QAbstractButton*> buttons = group_->buttons();
    if (buttons.isEmpty()) {
        return;
    }
    const QRect inside = contentsRect();
    const int rows = static_cast<int>(buttons.size());
    const int rowHeight = std::max(1, inside.height() / rows);
    const int top = inside.top() + (inside.height() - rowHeight * rows) / 2;
    const int left = 8;
    for (QAbstractButton* button : buttons) {
        const int i = group_->id(button);
        button->setGeometry(left, top + i * rowHeight, inside.right() - left, rowHeight);
    }
}
