#include "text_folding.h"

#include <QString>

namespace kobako::platform {

std::string foldCaseAndWidth(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .normalized(QString::NormalizationForm_KC)
        .toCaseFolded()
        .toStdString();
}

} // namespace kobako::platform
