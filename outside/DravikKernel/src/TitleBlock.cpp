#include "DravikKernel/TitleBlock.h"

namespace Dravik {

const std::vector<TitleBlockCell>& TitleBlockLayout() {
    static const std::vector<TitleBlockCell> cells = {
        // Change record: four empty rows and the column heads.
        {0, 50, 7, 5, 2.5, L"", nullptr},
        {7, 50, 10, 5, 2.5, L"", nullptr},
        {17, 50, 23, 5, 2.5, L"", nullptr},
        {40, 50, 15, 5, 2.5, L"", nullptr},
        {55, 50, 10, 5, 2.5, L"", nullptr},
        {0, 45, 7, 5, 2.5, L"", nullptr},
        {7, 45, 10, 5, 2.5, L"", nullptr},
        {17, 45, 23, 5, 2.5, L"", nullptr},
        {40, 45, 15, 5, 2.5, L"", nullptr},
        {55, 45, 10, 5, 2.5, L"", nullptr},
        {0, 40, 7, 5, 2.5, L"", nullptr},
        {7, 40, 10, 5, 2.5, L"", nullptr},
        {17, 40, 23, 5, 2.5, L"", nullptr},
        {40, 40, 15, 5, 2.5, L"", nullptr},
        {55, 40, 10, 5, 2.5, L"", nullptr},
        {0, 35, 7, 5, 2.5, L"", nullptr},
        {7, 35, 10, 5, 2.5, L"", nullptr},
        {17, 35, 23, 5, 2.5, L"", nullptr},
        {40, 35, 15, 5, 2.5, L"", nullptr},
        {55, 35, 10, 5, 2.5, L"", nullptr},
        {0, 30, 7, 5, 2.5, L"Изм.", nullptr},
        {7, 30, 10, 5, 2.5, L"Лист", nullptr},
        {17, 30, 23, 5, 2.5, L"N докум.", nullptr},
        {40, 30, 15, 5, 2.5, L"Подп.", nullptr},
        {55, 30, 10, 5, 2.5, L"Дата", nullptr},
        // People: role, name, signature and date.
        {0, 25, 17, 5, 2.5, L"Разраб.", nullptr},
        {17, 25, 23, 5, 2.5, nullptr, L"$razrab"},
        {0, 20, 17, 5, 2.5, L"Пров.", nullptr},
        {17, 20, 23, 5, 2.5, nullptr, L"$prover"},
        {0, 15, 17, 5, 2.5, L"Т.контр.", nullptr},
        {17, 15, 23, 5, 2.5, nullptr, L"$t_contr"},
        {0, 10, 17, 5, 2.5, L"Нач.лаб.", nullptr},
        {17, 10, 23, 5, 2.5, nullptr, L"$nach_lab"},
        {0, 5, 17, 5, 2.5, L"Н.контр.", nullptr},
        {17, 5, 23, 5, 2.5, nullptr, L"$n_contr"},
        {0, 0, 17, 5, 2.5, L"Утв.", nullptr},
        {17, 0, 23, 5, 2.5, nullptr, L"$utverd"},
        {40, 0, 15, 30, 2.5, L"", nullptr},
        {55, 0, 10, 30, 2.5, L"", nullptr},
        // Designation, name, material and enterprise.
        {65, 40, 120, 15, 5.0, nullptr, L"$oboznach"},
        {65, 15, 70, 25, 5.0, nullptr, L"$naimen1"},
        {65, 0, 70, 15, 3.5, nullptr, L"$material1"},
        {135, 0, 50, 15, 3.5, nullptr, L"$naim_pred"},
        // Letters, mass, scale, sheet and sheets.
        {135, 35, 15, 5, 2.5, L"Лит.", nullptr},
        {150, 35, 17, 5, 2.5, L"Масса", nullptr},
        {167, 35, 18, 5, 2.5, L"Масштаб", nullptr},
        {135, 20, 5, 15, 3.5, nullptr, L"$lit1"},
        {140, 20, 5, 15, 3.5, nullptr, L"$lit2"},
        {145, 20, 5, 15, 3.5, nullptr, L"$lit3"},
        {150, 20, 17, 15, 3.5, nullptr, L"$massa"},
        {167, 20, 18, 15, 3.5, nullptr, L"$maschtab"},
        {135, 15, 10, 5, 2.5, L"Лист", nullptr},
        {145, 15, 15, 5, 2.5, nullptr, L"$list"},
        {160, 15, 12, 5, 2.5, L"Листов", nullptr},
        {172, 15, 13, 5, 2.5, nullptr, L"$listov"},
    };
    return cells;
}

std::vector<PlacedCell> TitleBlockCells(const DVDocument& document, const Element& block) {
    std::vector<PlacedCell> placed;
    if (block.kind != ElementKind::TitleBlock || block.coords.size() != 2)
        return placed;
    const double left = block.coords[0] - kTitleBlockWidth;
    const double bottom = block.coords[1];
    for (const TitleBlockCell& c : TitleBlockLayout())
        placed.push_back({left + c.x, bottom + c.y, left + c.x + c.w, bottom + c.y + c.h, c.textHeight,
                          c.caption ? std::wstring(c.caption) : document.GetTextValue(c.variable),
                          c.caption != nullptr});
    return placed;
}

std::vector<std::wstring> TitleBlockVariables() {
    std::vector<std::wstring> names;
    for (const TitleBlockCell& c : TitleBlockLayout())
        if (c.variable)
            names.emplace_back(c.variable);
    return names;
}

} // namespace Dravik
