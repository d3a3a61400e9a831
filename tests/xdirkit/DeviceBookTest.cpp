#include "DeviceBook.h"

#include <gtest/gtest.h>

using xdirkit::DeviceBook;
using Refusal = DeviceBook::Refusal;

namespace {

std::string individual(const std::string& id, const std::string& name,
                       const std::string& faxNumber) {
    return R"({"id": )" + id + R"(, "name": )" + name + R"(, "faxNumber": )" + faxNumber + "}";
}

std::string book(const std::string& individuals, const std::string& groups = "") {
    return R"({"individuals": [)" + individuals + R"(], "groups": [)" + groups + "]}";
}

std::string many(int count) {
    std::string list;
    for (int id = 1; id <= count; ++id)
        list += (id > 1 ? ", " : "") + individual(std::to_string(id), R"("N")", R"("1")");
    return list;
}

std::string idList(int count) {
    std::string list;
    for (int id = 1; id <= count; ++id)
        list += (id > 1 ? ", " : "") + std::to_string(id);
    return list;
}

std::string repeat(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

const std::string kOne = individual("1", R"("Ana")", R"("0312")");

// ---- Reading: every rule of the document, one row each

struct ReadCase {
    const char* what;
    std::string json;
    std::optional<Refusal> refusal; // none: accepted
    const char* reason;             // the start of the reason given
};

const ReadCase kReadCases[] = {
    {"empty book", book(""), std::nullopt, ""},
    {"unknown members are ignored",
     R"({"version": 2, "individuals": [{"id": 1, "name": "A", "faxNumber": "1", "x": null}],
         "groups": [{"name": "G", "members": [1], "colour": "red"}]})",
     std::nullopt, ""},
    {"limits reached",
     book(many(201) + ", " +
              individual("65535", "\"" + std::string(32, 'n') + "\"",
                         "\"" + std::string(50, '9') + "\""),
          R"({"name": "All", "members": [)" + idList(201) + "]}"),
     std::nullopt, ""},
    {"32 units of astral characters",
     book(individual("1", "\"" + repeat("\xF0\x9F\x93\xA0", 16) + "\"", R"("1")")), std::nullopt,
     ""},
    {"34 units of astral characters",
     book(individual("1", "\"" + repeat("\xF0\x9F\x93\xA0", 17) + "\"", R"("1")")),
     Refusal::BrokenRule, "individuals[0].name: longer than 32"},
    {"not JSON", "{\"individuals\": [", Refusal::NotJson, "not a JSON document"},
    {"empty text", "", Refusal::NotJson, "not a JSON document"},
    {"invalid UTF-8", book(individual("1", "\"\xC3\x28\"", R"("1")")), Refusal::NotJson, "not"},
    {"nested too deeply", std::string(20, '[') + std::string(20, ']'), Refusal::NotJson, "nested"},
    {"top level array", "[]", Refusal::BrokenRule, "not an object"},
    {"groups missing", R"({"individuals": []})", Refusal::BrokenRule, "groups: missing"},
    {"individuals not an array", R"({"individuals": {}, "groups": []})", Refusal::BrokenRule,
     "individuals: not an array"},
    {"entry not an object", book("1"), Refusal::BrokenRule, "individuals[0]: not an object"},
    {"id missing", book(R"({"name": "A", "faxNumber": "1"})"), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id zero", book(individual("0", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id past 16 bits", book(individual("65536", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id negative", book(individual("-1", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id as text", book(individual(R"("1")", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id fractional", book(individual("1.0", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id boolean", book(individual("true", R"("A")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].id"},
    {"id twice", book(kOne + ", " + individual("1", R"("B")", R"("2")")), Refusal::BrokenRule,
     "individuals[1].id: 1 used twice"},
    {"name a number", book(individual("1", "5", R"("1")")), Refusal::BrokenRule,
     "individuals[0].name: not a string"},
    {"name empty", book(individual("1", R"("")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].name: empty"},
    {"name 33 units", book(individual("1", "\"" + std::string(33, 'n') + "\"", R"("1")")),
     Refusal::BrokenRule, "individuals[0].name: longer than 32"},
    {"name with a tab", book(individual("1", R"("A\tB")", R"("1")")), Refusal::BrokenRule,
     "individuals[0].name: control character"},
    {"fax number 51 digits", book(individual("1", R"("A")", "\"" + std::string(51, '1') + "\"")),
     Refusal::BrokenRule, "individuals[0].faxNumber: longer than 50"},
    {"fax number with a space", book(individual("1", R"("A")", R"("03 1234")")),
     Refusal::BrokenRule, "individuals[0].faxNumber: character ' '"},
    {"fax number with a plus", book(individual("1", R"("A")", R"("+8131234")")),
     Refusal::BrokenRule, "individuals[0].faxNumber: character '+'"},
    {"fax number missing", book(R"({"id": 1, "name": "A"})"), Refusal::BrokenRule,
     "individuals[0].faxNumber: not a string"},
    {"group without members", book(kOne, R"({"name": "G"})"), Refusal::BrokenRule,
     "groups[0].members: not an array"},
    {"group name empty", book(kOne, R"({"name": "", "members": []})"), Refusal::BrokenRule,
     "groups[0].name: empty"},
    {"member that names no individual", book(kOne, R"({"name": "G", "members": [1, 2]})"),
     Refusal::BrokenRule, "groups[0].members: 2 names no individual"},
    {"member twice", book(kOne, R"({"name": "G", "members": [1, 1]})"), Refusal::BrokenRule,
     "groups[0].members: 1 listed twice"},
    {"member as text", book(kOne, R"({"name": "G", "members": ["1"]})"), Refusal::BrokenRule,
     "groups[0].members: not an integer"},
    {"202 members", book(many(202), R"({"name": "G", "members": [)" + idList(202) + "]}"),
     Refusal::BrokenRule, "groups[0].members: more than 201"},
    // The document is read as it is parsed; it answers as a check of the whole document would.
    {"a broken rule before text that is not JSON", book(individual("0", "5", "5")) + ",",
     Refusal::NotJson, "not a JSON document"},
    {"a member named twice is the later one",
     R"({"individuals": 1, "individuals": [{"id": "x", "name": "A", "faxNumber": "1", "id": 1}],
         "groups": [{"name": "G", "members": [7], "members": [1]}]})",
     std::nullopt, ""},
    {"groups broken before individuals in the text",
     R"({"groups": [{"name": 1, "members": []}], "individuals": [{"id": 0}]})", Refusal::BrokenRule,
     "individuals[0].id"},
    {"too many entries, an early one broken", book(R"({"id": 0}, )" + many(65535)),
     Refusal::BrokenRule, "individuals: more than 65535"},
    {"more small items than a book holds",
     R"({"groups": [], "individuals": [)" + repeat("0,", 70000) + "0]}", Refusal::BrokenRule,
     "individuals: more than 65535"},
    {"too many members, one of them text",
     book(kOne, R"({"name": "G", "members": ["1", )" + idList(201) + "]}"), Refusal::BrokenRule,
     "groups[0].members: more than 201"},
};

TEST(DeviceBookTest, ReadingAcceptsOnlyBooksThatKeepEveryRule) {
    for (const ReadCase& row : kReadCases) {
        DeviceBook::Error error;
        const auto read = DeviceBook::fromJson(row.json, &error);
        EXPECT_EQ(read.has_value(), !row.refusal) << row.what << ": " << error.reason;
        if (!row.refusal)
            continue;
        EXPECT_EQ(error.refusal, *row.refusal) << row.what;
        EXPECT_EQ(error.reason.rfind(row.reason, 0), 0u) << row.what << ": " << error.reason;
    }
}

TEST(DeviceBookTest, WritingAndReadingKeepEveryEntryInOrder) {
    const DeviceBook original{{{9, "Zoë \"Z\" \\ Ölund", "9=9:9"}, {2, "山田", "*2#"}},
                              {{"B", {2, 9}}, {"A", {}}, {"C", {9}}}};
    EXPECT_EQ(original.brokenRule(), "");
    for (int indent : {-1, 2}) {
        const std::string text = original.toJson(indent);
        EXPECT_EQ(DeviceBook::fromJson(text), original) << text;
        EXPECT_EQ(DeviceBook::fromJson(text)->toJson(indent), text);
    }
    EXPECT_EQ(original.toJson(),
              R"({"individuals":[{"id":9,"name":"Zoë \"Z\" \\ Ölund","faxNumber":"9=9:9"},)"
              R"({"id":2,"name":"山田","faxNumber":"*2#"}],"groups":[{"name":"B","members":[2,9]},)"
              R"({"name":"A","members":[]},{"name":"C","members":[9]}]})");
}

TEST(DeviceBookTest, BooksBuiltInMemoryAreCheckedByTheSameRules) {
    struct Row {
        const char* what;
        DeviceBook book;
        const char* rule;
    };
    const Row rows[] = {
        {"id zero", {{{0, "A", "1"}}, {}}, "individuals[0].id"},
        {"id twice", {{{3, "A", "1"}, {3, "B", "2"}}, {}}, "individuals[1].id: 3 used twice"},
        {"group of a stranger", {{{3, "A", "1"}}, {{"G", {4}}}}, "groups[0].members: 4 names"},
        {"202 members",
         {{}, {{"G", std::vector<std::uint16_t>(202, 1)}}},
         "groups[0].members: more"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.book.brokenRule().rfind(row.rule, 0), 0u)
            << row.what << ": " << row.book.brokenRule();
}

TEST(DeviceBookTest, CountsUtf16UnitsOfUtf8Text) {
    EXPECT_EQ(DeviceBook::utf16Length(""), 0u);
    EXPECT_EQ(DeviceBook::utf16Length("abc"), 3u);
    EXPECT_EQ(DeviceBook::utf16Length("Öé"), 2u);
    EXPECT_EQ(DeviceBook::utf16Length("山田"), 2u);
    EXPECT_EQ(DeviceBook::utf16Length("\xF0\x9F\x93\xA0x"), 3u);
}

TEST(DeviceBookTest, StatusStatesAreReadyBusyOrErrorAndNothingElse) {
    const std::pair<const char*, const char*> rows[] = {
        {R"({"state": "ready"})", "ready"},
        {R"({"state": "busy", "detail": "sending"})", "busy"},
        {R"({"state": "error", "detail": "paper jam", "code": 7})", "error"},
        {R"({"state": "sleeping"})", nullptr},
        {R"({"state": "READY"})", nullptr},
        {R"({"state": 1})", nullptr},
        {R"({"state": "ready", "detail": 3})", nullptr},
        {R"({"state": "busy", "extra": {"state": "error"}, "state": "ready"})", "ready"},
        {R"({"state": "ready", "detail": {"state": "busy"}})", nullptr},
        {R"(["ready"])", nullptr},
        {R"({"state": "rea)", nullptr},
        {"", nullptr},
    };
    for (const auto& [json, state] : rows) {
        const auto read = DeviceBook::stateFromJson(json);
        EXPECT_EQ(read.value_or("(none)"), state ? state : "(none)") << json;
    }
}

} // namespace
