#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QToolButton;

namespace platform {

class ImageList;

// One toolbar button as the handlers see it: told apart by its key.
struct ToolbarButton {
    int Index = 0; // 1-based place in the toolbar
    QString Key;
    QString Caption;
    QString ToolTipText;
    int Image = 0; // index into the toolbar's image list
    QToolButton* widget = nullptr;
};

// A free-standing toolbar of push buttons, each with its image above its caption. Every
// click reaches one signal with the clicked button.
class Toolbar : public QWidget {
    Q_OBJECT

public:
    explicit Toolbar(QWidget* parent = nullptr);
    ~Toolbar() override;

    void setImageList(const ImageList* images) { images_ = images; }
    ToolbarButton& addButton(const QString& key, const QString& caption, const QString& toolTip,
                             int image, QSize buttonSize);
    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    ToolbarButton* button(int index);               // 1-based
    ToolbarButton* buttonByKey(const QString& key); // exact comparison; null when absent

signals:
    void buttonClick(platform::ToolbarButton* button);

private:
    const ImageList* images_ = nullptr;
    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
};

} // namespace platform
