#include "shell/SkinPainters.h"

#include "shell/FilterGroup.h"
#include "shell/SectionCommands.h"
#include "shell/SkinImages.h"

#include <QPainter>

namespace kovan {

namespace {

// Rectangle from its left, top, right and bottom edges (right and bottom exclusive).
QRect edges(int l, int t, int r, int b) {
    return {l, t, r - l, b - t};
}

void drawSlices(QPainter& p, const QList<FilterGroup::Slice>& slices) {
    for (const FilterGroup::Slice& s : slices) {
        const QImage img = skin().ibtn(s.image);
        if (!img.isNull() && s.rect.width() > 0 && s.rect.height() > 0)
            p.drawImage(s.rect, img);
    }
}

void whiteCaption(QPainter& p, const SkinPanel& self, const QFont& font) {
    p.setFont(font);
    p.setPen(Qt::white);
    SkinPanel::drawCentred(p, self.rect(), self.caption());
}

} // namespace

const QColor& SkinPainters::windowBlue() {
    static const QColor c(0x30, 0x9D, 0xE9);
    return c;
}
const QColor& SkinPainters::darkLine() {
    static const QColor c(0x01, 0x3E, 0x7F);
    return c;
}
const QColor& SkinPainters::lightLine() {
    static const QColor c(0x3F, 0xA2, 0xE7);
    return c;
}

QFont SkinPainters::captionFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("微软雅黑"));
    f.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

SkinPanel::Painter SkinPainters::stretched(int topIndex) {
    return [topIndex](QPainter& p, const SkinPanel& self) {
        const QImage img = skin().top(topIndex);
        if (!img.isNull())
            p.drawImage(self.rect(), img);
    };
}

SkinPanel::Painter SkinPainters::centred(std::function<QImage()> picture) {
    return [picture = std::move(picture)](QPainter& p, const SkinPanel& self) {
        const QImage img = picture();
        if (img.isNull())
            return;
        const QSize size = img.deviceIndependentSize().toSize(); // logical, whatever the set
        p.drawImage((self.width() - size.width()) / 2, (self.height() - size.height()) / 2, img);
    };
}

SkinPanel::Painter SkinPainters::solid(QColor colour) {
    return [colour](QPainter& p, const SkinPanel& self) { p.fillRect(self.rect(), colour); };
}

SkinPanel::Painter SkinPainters::middleColumn() {
    return [](QPainter& p, const SkinPanel& self) {
        p.fillRect(self.rect(), windowBlue());
        p.setPen(darkLine());
        p.drawLine(0, 0, 0, self.height());
        p.setPen(lightLine());
        p.drawLine(1, 0, 1, self.height());
    };
}

SkinPanel::Painter SkinPainters::rightColumn() {
    return [](QPainter& p, const SkinPanel& self) {
        p.fillRect(self.rect(), windowBlue());
        p.setPen(darkLine());
        p.drawLine(self.width() - 1, 0, self.width() - 1, self.height());
    };
}

SkinPanel::Painter SkinPainters::statusBand() {
    return [](QPainter& p, const SkinPanel& self) {
        const int w = self.width(), h = self.height();
        p.fillRect(self.rect(), windowBlue());
        p.setPen(darkLine());
        p.drawLine(0, 0, 0, h);
        p.setPen(lightLine());
        p.drawLine(1, 0, 1, h);
        p.setPen(darkLine());
        p.drawLine(0, h - 1, w, h - 1);
        p.drawLine(w - 1, 0, w - 1, h);
        const QImage strip = skin().top(SkinImages::kStatusStrip);
        if (!strip.isNull())
            p.drawImage(edges(1, 0, w - 2, h - 1), strip);
    };
}

SkinPanel::Painter SkinPainters::divider() {
    return [](QPainter& p, const SkinPanel& self) {
        const QImage strip = skin().top(SkinImages::kDividerStrip);
        if (!strip.isNull())
            p.drawImage(self.rect(), strip);
        const int top = (self.height() - 45) / 2;
        const QImage arrow = skin().top(self.tag() == 0 ? SkinImages::kDividerExpanded
                                                        : SkinImages::kDividerCollapsed);
        if (!arrow.isNull())
            p.drawImage(edges(0, top, 7, top + 45), arrow);
    };
}

SkinPanel::Painter SkinPainters::earnPlate() {
    return [](QPainter& p, const SkinPanel& self) {
        p.fillRect(self.rect(), windowBlue());
        p.fillRect(edges(4, 4, 50, 50).intersected(self.rect()), Qt::white);
    };
}

SkinPanel::Painter SkinPainters::navButton(QFont font) {
    return [font](QPainter& p, const SkinPanel& self) {
        const int tag = std::clamp(self.tag(), 0, 2);
        if (tag < skin().navButtonImages.size())
            p.drawImage(self.rect(), skin().navButtonImages[tag]);
        QFont f = font;
        f.setBold(self.tag() == 1);
        whiteCaption(p, self, f);
    };
}

SkinPanel::Painter SkinPainters::groupButton(std::function<int()> groupTag, int count, QFont font) {
    return [groupTag = std::move(groupTag), count, font](QPainter& p, const SkinPanel& self) {
        drawSlices(p,
                   FilterGroup::slices(self.tag(), groupTag(), count, self.width(), self.height()));
        whiteCaption(p, self, font);
    };
}

SkinPanel::Painter SkinPainters::singleButton(QFont font) {
    return [font](QPainter& p, const SkinPanel& self) {
        drawSlices(p, FilterGroup::singleSlices(self.width(), self.height()));
        whiteCaption(p, self, font);
    };
}

SkinPanel::Painter SkinPainters::symbolTypeButton(QFont font) {
    return [font](QPainter& p, const SkinPanel& self) {
        drawSlices(p, FilterGroup::singleSlices(self.width(), self.height()));
        const QImage& arrow = skin().dropArrowImage;
        if (!arrow.isNull())
            p.drawImage(self.width() - arrow.deviceIndependentSize().toSize().width() - 6, 10,
                        arrow);
        whiteCaption(p, self, font);
    };
}

SkinPanel::Painter SkinPainters::serviceButton(QFont font) {
    return [font](QPainter& p, const SkinPanel& self) {
        const QImage img = skin().top(SectionCommands::serviceImage(self.tag()));
        if (!img.isNull())
            p.drawImage(self.rect(), img);
        whiteCaption(p, self, font);
    };
}

} // namespace kovan
