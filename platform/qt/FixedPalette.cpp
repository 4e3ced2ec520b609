#include "platform/qt/FixedPalette.h"

#include <QColor>
#include <QtGlobal>

#include "platform/Colors.h"

namespace {

QPalette MakeLightPalette() {
  const QColor text(RedOf(kLightWindowText), GreenOf(kLightWindowText), BlueOf(kLightWindowText));
  const QColor face(RedOf(kLightButtonFace), GreenOf(kLightButtonFace), BlueOf(kLightButtonFace));
  const QColor dark = face.darker(150);
  const QColor mid = face.darker(130);
  const QColor shadow = dark.darker(135);
  const QColor disabledText(190, 190, 190);
  const QColor highlight(48, 140, 198);
  QColor placeholder = text;
  placeholder.setAlpha(128);

  QPalette p(text, face, face.lighter(150), dark, mid, text, Qt::white);
  p.setBrush(QPalette::Midlight, mid.lighter(110));
  p.setBrush(QPalette::Button, face);
  p.setBrush(QPalette::Shadow, shadow);
  p.setBrush(QPalette::HighlightedText, Qt::white);
  p.setBrush(QPalette::PlaceholderText, placeholder);
  p.setBrush(QPalette::Active, QPalette::Highlight, highlight);
  p.setBrush(QPalette::Inactive, QPalette::Highlight, highlight);
  p.setBrush(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  // The accent (Qt 6.6 on) follows the highlight, as in the light palette Qt gives without a theme.
  p.setBrush(QPalette::Active, QPalette::Accent, highlight);
  p.setBrush(QPalette::Inactive, QPalette::Accent, highlight);
  p.setBrush(QPalette::Disabled, QPalette::Accent, QColor(145, 145, 145));
#endif
  p.setBrush(QPalette::Disabled, QPalette::Text, disabledText);
  p.setBrush(QPalette::Disabled, QPalette::WindowText, disabledText);
  p.setBrush(QPalette::Disabled, QPalette::ButtonText, disabledText);
  p.setBrush(QPalette::Disabled, QPalette::Base, face);
  p.setBrush(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
  p.setBrush(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
  return p;
}

}  // namespace

const QPalette& FixedPalette() {
  static const QPalette palette = MakeLightPalette();
  return palette;
}
