#include "ui/toolbar.h"

#include "ui/image_list.h"

#include <QIcon>
#include <QToolButton>

namespace platform {

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

Toolbar::~Toolbar() = default;

ToolbarButton& Toolbar::addButton(const QString& key, const QString& caption,
                                  const QString& toolTip, int image, QSize buttonSize) {
    auto button = std::make_unique<ToolbarButton>();
    button->Index = buttonCount() + 1;
    button->Key = key;
    button->Caption = caption;
    button->ToolTipText = toolTip;
    button->Image = image;

    auto* widget = new QToolButton(this);
    widget->setObjectName(QStringLiteral("%1_%2").arg(objectName(), key));
    widget->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    widget->setText(caption);
    widget->setToolTip(toolTip);
    widget->setAutoRaise(true);
    // Clicks work, but the keyboard never stops on the toolbar: Tab goes from box to box.
    widget->setFocusPolicy(Qt::NoFocus);
    if (images_ != nullptr) {
        widget->setIcon(QIcon(images_->image(image)));
        widget->setIconSize(images_->imageSize());
    }
    widget->setGeometry((button->Index - 1) * buttonSize.width(), 0, buttonSize.width(),
                        buttonSize.height());
    button->widget = widget;
    ToolbarButton* raw = button.get();
    connect(widget, &QToolButton::clicked, this, [this, raw] { emit buttonClick(raw); });
    buttons_.push_back(std::move(button));
    return *raw;
}

ToolbarButton* Toolbar::button(int index) {
    return index >= 1 && index <= buttonCount() ? buttons_[index - 1].get() : nullptr;
}

ToolbarButton* Toolbar::buttonByKey(const QString& key) {
    for (const auto& button : buttons_) {
        if (button->Key == key) {
            return button.get();
        }
    }
    return nullptr;
}

} // namespace platform
