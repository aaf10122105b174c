#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

class QLabel;

/// The splash screen shown while start-up connects and builds the main window:
/// picture and window shape from the resource file MainImg, the application
/// title with a drop shadow, the program's version.
class TfrmZZC010 : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmZZC010(QWidget *parent = nullptr);
    ~TfrmZZC010() override;

    /// Shows the splash and returns once it has been painted (under a window
    /// manager the window is mapped some time after show()), at most after
    /// exposeWaitMs. A splash without shape stays invisible.
    void showAndPaint();
    /// The line under the picture while start-up waits for the database
    /// ("데이터베이스에 연결하는 중…"), painted at once.
    void showConnecting();
    /// True once the splash has been painted on the screen.
    bool painted() const { return m_painted; }
    /// How long showAndPaint() waits for the window to be painted.
    static void setExposeWaitMs(int ms);
    QRegion shape() const { return m_shape; }

    /// Name of the resource file holding "SPLASH" and "SMASK".
    static QString resourceFileName();
    /// Where the resource file is found: the program directory, then the
    /// directories of LD_LIBRARY_PATH, like a library. Empty when it is nowhere.
    static QString findResourceFile();
    /// The window shape of a one-bit mask whose rows are padded to 16-bit
    /// words, most significant bit first: every run of 0 bits in a row is part
    /// of the shape. Rows at or below windowHeight are left out.
    static QRegion shapeFromMask(const QByteArray &bits, int width, int height, int windowHeight);
    /// A mask picture packed as shapeFromMask reads it: dark pixels are 0 bits.
    static QByteArray packMask(const QImage &mask);
    /// "%d.%d.%d.%d" of the four 16-bit parts of a version; empty when the
    /// version has no number.
    static QString versionText(const QString &version);

    QLabel *imgImage = nullptr;
    QLabel *lblProjectNameShadow = nullptr;
    QLabel *lblProjectName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblNotice = nullptr;
    QLabel *lblStatus = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void FormCreate();
    void loadImages();
    static QImage loadImage(const QString &path);

    QImage m_picture;
    QImage m_mask;
    QRegion m_shape;
    bool m_painted = false;
};
