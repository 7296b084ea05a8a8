// The window as a screen reader finds it, through Qt's accessibility interfaces.
#include "tests/qt/window_harness.h"

#include <QAccessible>
#include <QDialog>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Node {
    QAccessible::Role role;
    std::wstring name;
    std::vector<Node> children;
};

Node nodeOf(QAccessibleInterface* item) {
    Node node{item->role(), item->text(QAccessible::Name).toStdWString(), {}};
    for (int i = 0; i < item->childCount(); ++i)
        node.children.push_back(nodeOf(item->child(i)));
    return node;
}

// The names of what labels a widget, in Qt's order.
std::vector<std::wstring> labelsOf(QWidget* widget) {
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(widget);
    std::vector<std::wstring> names;
    for (const auto& label : item->relations(QAccessible::Label))
        names.push_back(label.first->text(QAccessible::Name).toStdWString());
    return names;
}

class Accessibility : public WindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Accessibility, ReadsAsTheWindowsDialog) {
    plugUnit();
    start(GetParam() ? Language::German : Language::English);
    const Node window = nodeOf(QAccessible::queryAccessibleInterface(dialog()));
    ASSERT_EQ(window.children.size(), 5u) << "no logo among them";

    const Node& group = window.children[0];
    EXPECT_EQ(group.role, QAccessible::Grouping);
    EXPECT_EQ(group.name, text(IDC_VERSION_GROUP));
    const std::pair<std::wstring, std::wstring> rows[] = {{L"DOCK-BOX", L"2.3"},
                                                          {textOf(IDS_LABEL_BOOTLOADER), L"1.5"},
                                                          {textOf(IDS_LABEL_ESC), L"2.5"}};
    ASSERT_EQ(group.children.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(group.children[2 * i].name, rows[i].first) << i;
        EXPECT_EQ(group.children[2 * i + 1].name, rows[i].second) << i;
        EXPECT_EQ(group.children[2 * i + 1].role, QAccessible::StaticText);
    }
    for (const auto& [value, name] : {std::pair{IDC_UNIT_VERSION, rows[0].first},
                                      std::pair{IDC_BOOTLOADER_VERSION, rows[1].first},
                                      std::pair{IDC_ESC_VERSION, rows[2].first}})
        EXPECT_EQ(labelsOf(control(value)), (std::vector<std::wstring>{name, group.name}))
            << "its row's name, then the group's title";

    const std::wstring caption = GetParam() ? L"Hinweisfenster:" : L"Hint:";
    EXPECT_EQ(window.children[1].name, caption);
    EXPECT_EQ(window.children[2].role, QAccessible::EditableText);
    EXPECT_EQ(window.children[2].name, caption);
    EXPECT_EQ(labelsOf(control(IDC_HINT)), std::vector<std::wstring>{caption});
    EXPECT_EQ(window.children[3].role, QAccessible::Button);
    EXPECT_EQ(window.children[3].name, text(IDC_UPDATE));
    EXPECT_EQ(window.children[4].name, text(IDC_CLOSE));
}

TEST_P(Accessibility, GreyedRowsAndButtonAreExposed) {
    start(GetParam() ? Language::German : Language::English);
    for (int id : {IDC_UPDATE, IDC_UNIT_VERSION, IDC_ESC_LABEL})
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(control(id))->state().disabled) << id;
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(control(IDC_CLOSE))->state().disabled);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, Accessibility, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "German" : "English"; });

} // namespace
