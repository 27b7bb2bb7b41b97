#include "vision/SimulatedScene.h"

#include "vision/SimulatedWorld.h"

#include <QDir>
#include <QFileInfo>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>

SimulatedScene::SimulatedScene(const QString &name)
{
    QString rest = name.trimmed();
    if (rest.isEmpty()) {
        m_error = QStringLiteral("no camera name");
        return;
    }
    if (rest.startsWith(QLatin1String("sim:")))
        rest = rest.mid(4);
    if (rest.isEmpty() || rest == QLatin1String("board")) {
        m_kind = Kind::Board;
        return;
    }
    if (rest == QLatin1String("plate")) {
        m_kind = Kind::Plate;
        return;
    }
    if (rest == QLatin1String("component")) {
        m_kind = Kind::Component;
        return;
    }
    const QFileInfo info(rest);
    if (info.isDir()) {
        const QStringList filters{"*.png", "*.jpg", "*.jpeg", "*.bmp", "*.PNG", "*.JPG", "*.JPEG", "*.BMP"};
        const QStringList names = QDir(rest).entryList(filters, QDir::Files, QDir::Name);
        for (const QString &n : names)
            m_files << QDir(rest).filePath(n);
        if (m_files.isEmpty()) {
            m_error = QStringLiteral("no images in the folder");
            return;
        }
        m_kind = Kind::Folder;
        return;
    }
    if (info.isFile()) {
        m_image = cv::imread(info.absoluteFilePath().toLocal8Bit().constData(), cv::IMREAD_COLOR);
        if (m_image.empty()) {
            m_error = QStringLiteral("not a readable image");
            return;
        }
        m_kind = Kind::File;
        return;
    }
    m_error = QStringLiteral("no such scene, file or folder");
}

void SimulatedScene::render(cv::Mat &bgr, int width, int height, const SimulatedStage::Position &position, long index)
{
    bgr.create(height, width, CV_8UC3);
    switch (m_kind) {
    case Kind::Board: {
        const SimulatedWorld world = SimulatedWorld::current();
        if (world.isEmpty())
            renderPlate(bgr, position);
        else
            world.draw(bgr, QPointF(position.x, position.y) + SimulatedWorld::cameraFaults().headError,
                       SimulatedWorld::displacement(), kPixelsPerMm);
        break;
    }
    case Kind::Plate:
        renderPlate(bgr, position);
        break;
    case Kind::Component:
        renderComponent(bgr, position);
        break;
    case Kind::File:
        renderImage(bgr, m_image);
        break;
    case Kind::Folder: {
        const QString file = m_files.at(int(index % m_files.size()));
        if (file != m_loadedFile) {
            m_image = cv::imread(file.toLocal8Bit().constData(), cv::IMREAD_COLOR);
            m_loadedFile = file;
        }
        renderImage(bgr, m_image);
        break;
    }
    case Kind::Invalid:
        bgr.setTo(cv::Scalar::all(0));
        break;
    }
}

bool SimulatedScene::fixedSize(int *width, int *height) const
{
    if (m_kind != Kind::Component)
        return false;
    *width = 1280;
    *height = 960;
    return true;
}

void SimulatedScene::renderImage(cv::Mat &bgr, const cv::Mat &image)
{
    if (image.empty()) {
        bgr.setTo(cv::Scalar::all(0));
        return;
    }
    if (image.cols == bgr.cols && image.rows == bgr.rows)
        image.copyTo(bgr);
    else
        cv::resize(image, bgr, bgr.size(), 0, 0, cv::INTER_AREA);
}

// The plate lies in machine coordinates (mm, Y upwards); the camera looks at
// the point (X, Y) of the stage, which appears in the centre of the frame.
void SimulatedScene::renderPlate(cv::Mat &bgr, const SimulatedStage::Position &p)
{
    const double ppm = kPixelsPerMm;
    const int w = bgr.cols;
    const int h = bgr.rows;
    bgr.setTo(cv::Scalar(40, 90, 30)); // solder mask
    auto toPixel = [&](double mx, double my) {
        return cv::Point2d(w / 2.0 + (mx - p.x) * ppm, h / 2.0 - (my - p.y) * ppm);
    };
    const double halfW = w / 2.0 / ppm + 3;
    const double halfH = h / 2.0 / ppm + 3;
    const int shift = 4; // sub-pixel drawing
    const double scale = 1 << shift;
    auto fix = [&](cv::Point2d q) { return cv::Point(int(std::lround(q.x * scale)), int(std::lround(q.y * scale))); };

    // Pads of 0603-like parts every 2.5 mm and a track every 5 mm.
    const double pitch = 2.5;
    for (double gx = std::floor((p.x - halfW) / pitch) * pitch; gx <= p.x + halfW; gx += pitch) {
        for (double gy = std::floor((p.y - halfH) / pitch) * pitch; gy <= p.y + halfH; gy += pitch) {
            const long ix = std::lround(gx / pitch);
            const long iy = std::lround(gy / pitch);
            const double mx = gx - std::round(gx / kMarkPitchMm) * kMarkPitchMm;
            const double my = gy - std::round(gy / kMarkPitchMm) * kMarkPitchMm;
            if (std::abs(mx) < 2.5 && std::abs(my) < 2.5)
                continue; // room around the mark
            const cv::Point2d c = toPixel(gx, gy);
            const double pw = 0.5 * ppm, ph = 0.6 * ppm, gap = 0.4 * ppm;
            const cv::Scalar copper(80, 170, 210);
            if ((ix + iy) % 3 != 0) {
                cv::rectangle(bgr, fix({c.x - gap - pw, c.y - ph / 2}), fix({c.x - gap, c.y + ph / 2}), copper,
                              cv::FILLED, cv::LINE_8, shift);
                cv::rectangle(bgr, fix({c.x + gap, c.y - ph / 2}), fix({c.x + gap + pw, c.y + ph / 2}), copper,
                              cv::FILLED, cv::LINE_8, shift);
            }
            if (iy % 2 == 0 && ix % 3 == 1)
                cv::line(bgr, fix({c.x + gap + pw, c.y}), fix({c.x + pitch * ppm - gap - pw, c.y}),
                         cv::Scalar(50, 120, 60), int(0.25 * ppm), cv::LINE_8, shift);
        }
    }
    // Round reference marks: bright copper discs on a clear ring.
    for (double gx = std::floor((p.x - halfW) / kMarkPitchMm) * kMarkPitchMm; gx <= p.x + halfW; gx += kMarkPitchMm) {
        for (double gy = std::floor((p.y - halfH) / kMarkPitchMm) * kMarkPitchMm; gy <= p.y + halfH;
             gy += kMarkPitchMm) {
            const cv::Point c = fix(toPixel(gx, gy));
            cv::circle(bgr, c, int(1.5 * ppm * scale), cv::Scalar(20, 45, 15), cv::FILLED, cv::LINE_AA, shift);
            cv::circle(bgr, c, int(kMarkDiameterMm / 2 * ppm * scale), cv::Scalar(200, 230, 240), cv::FILLED,
                       cv::LINE_AA, shift);
        }
    }
}

// The part the nozzle holds, seen from below as the upward-looking component
// camera sees it: the view from above mirrored top to bottom (the camera
// item mirrors it back for display), so machine X runs to the right, Y down
// the rows, and a counter-clockwise turn seen from above is clockwise here.
// The nozzle is the centre of the frame; the part is a dark body with bright
// terminals across its ends, turned with A. An empty nozzle shows nothing.
void SimulatedScene::renderComponent(cv::Mat &bgr, const SimulatedStage::Position &p)
{
    bgr.setTo(cv::Scalar(15, 15, 15));
    QPointF offset;
    double angle = 0, width = 0, height = 0;
    if (!SimulatedWorld::heldPart(p, &offset, &angle, &width, &height))
        return;
    const double ppm = SimulatedWorld::currentComponentPixelsPerMm();
    // A camera that stands where it stands sees the part off by as much as
    // the nozzle is off it.
    const SimulatedWorld::CameraFaults faults = SimulatedWorld::cameraFaults();
    if (faults.componentFixed)
        offset += QPointF(p.x, p.y) - faults.component;
    const cv::Point2f centre(float(bgr.cols / 2.0 + offset.x() * ppm), float(bgr.rows / 2.0 + offset.y() * ppm));
    // OpenCV turns clockwise on the picture for a positive angle.
    const float turn = float(angle);
    // Corners at sixteenths of a pixel, so that small turns show.
    const int shift = 4;
    auto polygon = [&](const cv::RotatedRect &r) {
        cv::Point2f corners[4];
        r.points(corners);
        std::vector<cv::Point> poly;
        for (const cv::Point2f &c : corners)
            poly.push_back(cv::Point(int(std::lround(c.x * (1 << shift))), int(std::lround(c.y * (1 << shift)))));
        return poly;
    };
    // The disk of the camera calibration: bright all over.
    if (SimulatedWorld::heldPartRound()) {
        cv::circle(bgr, cv::Point(int(std::lround(centre.x * (1 << shift))), int(std::lround(centre.y * (1 << shift)))),
                   int(std::lround(width / 2 * ppm * (1 << shift))), cv::Scalar(220, 220, 225), cv::FILLED, cv::LINE_AA,
                   shift);
        return;
    }
    const cv::RotatedRect body(centre, cv::Size2f(float(width * ppm), float(height * ppm)), turn);
    cv::fillConvexPoly(bgr, polygon(body), cv::Scalar(60, 60, 60), cv::LINE_AA, shift);
    const double rad = turn * M_PI / 180.0;
    const double pad = width * 0.1875;
    for (int side = -1; side <= 1; side += 2) {
        const double along = side * (width - pad) / 2 * ppm;
        const cv::Point2f c(centre.x + float(along * std::cos(rad)), centre.y + float(along * std::sin(rad)));
        const cv::RotatedRect terminal(c, cv::Size2f(float(pad * ppm), float(height * ppm)), turn);
        cv::fillConvexPoly(bgr, polygon(terminal), cv::Scalar(220, 220, 225), cv::LINE_AA, shift);
    }
}
