#pragma once
// The replay display's view of the label strip: the lblWmpMsg labels of the strip's model, the
// strip's and the main window's sizes in twips, and starting a placed comment.

#include "replay/WmpDisplay.h"

namespace present {
class LabelStrip;
}

namespace replay {

class StripWmpHost : public WmpLabelHost
{
public:
    // strip must outlive the host.
    explicit StripWmpHost(present::LabelStrip &strip) : m_strip(strip) {}

    int windowWidth() const override;
    int frameWidth() const override;
    int frameHeight() const override;
    std::optional<TwipsRect> wmpLabelRect(qint64 index) const override;
    int newWmpLabelHeight() const override;
    int wmpLabelWidth(const QString &caption) const override;
    // False for an index the strip cannot hold (beyond 32 bits) or one in use.
    bool startWmpComment(const WmpComment &comment) override;

private:
    present::LabelStrip &m_strip;
};

} // namespace replay
