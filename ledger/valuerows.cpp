#include "ledger/valuerows.h"

#include "engine/numberformat.h"

namespace pellion {

namespace {

double textNumber(const std::string& text) {
    double value = 0;
    if (TryTextToNumber(text, value))
        return value;
    return 0;
}

} // namespace

std::string shownTextOf(const Field& field, RowRef values) {
    int index = field.index();
    if (!values || !values.hasValue(index))
        return {};
    if (field.type() == FieldType::Text)
        return values.text(index);
    const FieldDefinition& definition = field.definition();
    if (definition.displayFormat)
        return FormatNumber(*definition.displayFormat, values.number(index));
    return NumberToText(values.number(index), definition.precision);
}

// TextValue's rules: numbers through NumberToText(v, 15), "" when empty.
std::string textValueOf(const Field& field, RowRef values) {
    int index = field.index();
    if (!values || !values.hasValue(index))
        return {};
    return field.type() == FieldType::Number ? NumberToText(values.number(index), 15)
                                             : values.text(index);
}

// NumberValue's rules: 0 when empty, a text field's text read as a number.
double numberValueOf(const Field& field, RowRef values) {
    int index = field.index();
    if (!values || !values.hasValue(index))
        return 0;
    return field.type() == FieldType::Number ? values.number(index)
                                             : textNumber(values.text(index));
}

} // namespace pellion
