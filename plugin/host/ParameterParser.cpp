#include "host/ParameterParser.h"

#include <string>
#include <vector>

#include "host/Diagnostics.h"
#include "host/Support_Functions.h"

namespace brelka {

ImageRef ParameterParser::imageFromContainer(const fmx::BinaryData& container) {
    fmx::int32 stream = findImageStream(container);
    if (stream < 0) {
        return nullptr;
    }
    fmx::uint32 size = container.GetSize(stream);
    if (size == 0) {
        return nullptr;
    }
    std::vector<unsigned char> bytes(size);  // zero-filled
    GetBinaryDataFromFMBinary(bytes.data(), size, container, stream);
    return ui::Image::decode(bytes.data(), bytes.size());
}

Dictionary ParameterParser::getAllParameters(const fmx::DataVect& parameters) {
    Dictionary dictionary;
    const fmx::uint32 count = parameters.Size();
    for (fmx::uint32 i = 0; i < count; ++i) {
        std::string key = "param_" + std::to_string(i);
        switch (parameters.At(i).GetNativeType()) {
        case fmx::kDTText:
            dictionary.emplace(std::move(key), StringFromFmText(parameters.AtAsText(i)));
            break;
        case fmx::kDTNumber:
            dictionary.emplace(std::move(key), parameters.AtAsNumber(i).AsFloat());
            break;
        case fmx::kDTBoolean:
            dictionary.emplace(std::move(key), parameters.AtAsBoolean(i));
            break;
        case fmx::kDTBinary:
            if (ImageRef image = imageFromContainer(parameters.AtAsBinaryData(i))) {
                dictionary.emplace(std::move(key), std::move(image));
            }
            break;
        default:
            break;  // dates, times and timestamps are not passed on
        }
    }
    if (Diagnostics::enabled()) {
        Diagnostics::log(describeDictionary(dictionary));
    }
    return dictionary;
}

}  // namespace brelka
