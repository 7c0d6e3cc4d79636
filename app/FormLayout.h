#pragma once

// What each window of the program looks like, as constant data: its frame, its controls and
// its menu. A backend builds its native windows from these descriptions and nothing else.
// Plain C++; texts are UTF-8.

#include "Catalogue.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace varkelo {

class TForm;

// A handler of a form's behaviour: a button's or a menu item's click.
using THandler = void (*)(TForm& form);

namespace detail {
template <class Method> struct TMethodOf;
template <class Form> struct TMethodOf<void (Form::*)()> { using TOwner = Form; };
template <auto Method> void Call(TForm& form) {
    (static_cast<typename TMethodOf<decltype(Method)>::TOwner&>(form).*Method)();
}
} // namespace detail

// The handler that calls a form's method: On<&TForm1::N2Click>.
template <auto Method> inline constexpr THandler On = &detail::Call<Method>;

enum class TControlKind : std::uint8_t { Label, Edit, Button, Document };
enum class TCursor : std::uint8_t { Arrow, IBeam, Cross, HandPoint };

enum class TBorder : std::uint8_t {
    Single,   // fixed size
    Dialog,   // fixed size; system menu and close button only
    Sizeable, // resizable
};

enum class TPosition : std::uint8_t { ScreenCentre, OverMainForm };

// Where a window of the given size starts along one axis: centred on [low, high), and kept
// inside the work area [workLow, workHigh). Every backend places its windows by this.
constexpr int PlaceCentred(int low, int high, int size, int workLow, int workHigh) {
    return std::max(workLow, std::min((low + high - size) / 2, workHigh - size));
}

// A control's name, kept in the description itself so that a name made at compile time (a
// label's, from its field's) needs no storage of its own.
class TName {
public:
    constexpr TName() = default;
    template <std::size_t N>
    constexpr TName(const char (&name)[N]) : TName(std::string_view(name)) {}
    constexpr explicit TName(std::string_view name, std::string_view suffix = {}) {
        for (char c : name)
            m_text[m_size++] = c;
        for (char c : suffix)
            m_text[m_size++] = c;
    }
    constexpr std::string_view View() const { return {m_text, m_size}; }

private:
    char m_text[40]{};
    std::size_t m_size = 0;
};

struct TControlDesc {
    TControlKind Kind = TControlKind::Label;
    TName Name{};
    std::string_view Text{};   // caption, or an entry field's initial text
    int Left = 0, Top = 0;     // in the client area
    int Width = 0, Height = 0; // a label of width 0 fits its text; a document fills the window
    TCursor Cursor = TCursor::Arrow;
    std::string_view Hint{};    // shown as a tooltip; empty: none
    int MaxLength = 0;          // entry fields: characters at most
    int TabIndex = -1;          // place in the tab order; -1: never takes the focus
    THandler OnClick = nullptr; // buttons
};

// The menu bar as one list: a heading opens a menu of the bar, and the items after it, up to
// the next heading, stand in that menu.
struct TMenuItemDesc {
    std::string_view Name{};
    std::string_view Caption{};
    bool Heading = false;
    int FunctionKey = 0; // the shortcut F1..F12, acting in every window of the program; 0: none
    THandler OnClick = nullptr;
};

struct TFormDesc {
    std::string_view Name{};
    std::string_view Caption{};
    TBorder Border = TBorder::Single;
    bool MinimiseButton = true;
    bool MaximiseButton = false;
    int Width = 0, Height = 0; // the client area below the menu bar, or the whole window
    bool OuterSize = false;    // whether Width and Height take in the frame
    TPosition Position = TPosition::ScreenCentre;
    // In creation order, which is also the order a screen reader walks: a label directly
    // before an entry field names that field.
    std::span<const TControlDesc> Controls{};
    std::span<const TMenuItemDesc> Menu{};

    // A dialog's frame has neither box, whatever the description asks, as on Windows.
    constexpr bool HasMinimiseBox() const { return MinimiseButton && Border != TBorder::Dialog; }
    constexpr bool HasMaximiseBox() const { return MaximiseButton && Border != TBorder::Dialog; }
};

inline constexpr int kMaxEntryLength = 6;

// A list of controls filled at compile time; Add checks that it is not overfilled.
template <std::size_t N> struct TControlList {
    std::array<TControlDesc, N> Items{};
    std::size_t Count = 0;
    constexpr void Add(const TControlDesc& control) { Items.at(Count++) = control; }
    // The whole list, which must be full.
    constexpr std::array<TControlDesc, N> Full() const {
        if (Count != N)
            throw "the list is not full";
        return Items;
    }
};

// A column of entry rows, one per catalogue row of a group, 20 pixels apart: the label with
// the row's caption at (LabelLeft, FirstLabelTop + 20 r), its field at EditLeft, 5 pixels
// higher. The first field takes FirstTab in the tab order, the others NextTab onwards.
struct TEntryColumn {
    TGroup Group;
    int LabelLeft, FirstLabelTop, EditLeft;
    int FirstTab, NextTab;
};

template <std::size_t N>
constexpr void AddColumn(TControlList<N>& list, const TEntryColumn& column) {
    for (const TCatalogueRow& row : kCatalogue) {
        if (row.Group != column.Group)
            continue;
        const int top = column.FirstLabelTop + 20 * row.Index;
        const std::string_view stem = row.EditName.substr(0, row.EditName.size() - 4); // "Edit"
        list.Add({.Kind = TControlKind::Label,
                  .Name = TName(stem, "Label"),
                  .Text = row.Caption,
                  .Left = column.LabelLeft,
                  .Top = top,
                  .Height = 13,
                  .Cursor = TCursor::Cross});
        list.Add({.Kind = TControlKind::Edit,
                  .Name = TName(row.EditName),
                  .Text = row.DefaultText,
                  .Left = column.EditLeft,
                  .Top = top - 5,
                  .Width = 50,
                  .Height = 21,
                  .Cursor = TCursor::IBeam,
                  .MaxLength = kMaxEntryLength,
                  .TabIndex = row.Index == 0 ? column.FirstTab : column.NextTab + row.Index - 1});
    }
}

} // namespace varkelo
