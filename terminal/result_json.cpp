#include "terminal/result_json.h"

JsonObject& resultFields(JsonObject& object, const Finished& f) {
    return object.text("device", f.path)
        .text("port", f.port)
        .text("product", f.product)
        .word("result", resultName(f.result))
        .text("text", f.text);
}

std::string resultJson(const Finished& f, const std::wstring& recordProblem) {
    JsonObject line("result");
    resultFields(line, f);
    if (!recordProblem.empty())
        line.text("recordProblem", recordProblem);
    return line.str();
}
