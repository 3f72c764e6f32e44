// One stored layout from the input: read as XML, loaded into a set of command bars (a menu bar,
// two tool bars and a popup), stored again and loaded into a second set.
#include "XTToolkitPro.h"
#include "pal/xml.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

CXTPCommandBars* makeBars() {
    CXTPCommandBars* bars = CXTPCommandBars::CreateCommandBars();
    bars->SetMenu(L"Menu")->GetControls()->Add(xtpControlPopup, 0)->SetCaption(L"&File");
    CXTPToolBar* standard = bars->Add(L"Standard", xtpBarTop);
    standard->SetBarID(200);
    static const UINT buttons[] = {100, 101, 0, 102};
    standard->SetButtons(buttons, 4);
    standard->GetControls()->CreateOriginalControls();
    CXTPToolBar* edit = bars->Add(L"Edit", xtpBarLeft);
    edit->SetBarID(201);
    edit->GetControls()->Add(xtpControlComboBox, 130);
    edit->GetControls()->Add(xtpControlSplitButtonPopup, 120);
    return bars;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pal::xml::Document doc;
    if (!doc.loadString(std::string_view(reinterpret_cast<const char*>(data), size)))
        return 0;
    CXTPCommandBars* bars = makeBars();
    {
        CXTPPropExchangeXMLNode load(TRUE, doc.root());
        XTP_COMMANDBARS_PROPEXCHANGE_PARAM param;
        param.bSerializeOptions = TRUE;
        bars->DoPropExchange(&load, &param);
    }
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"CommandBars");
    bars->DoPropExchange(&store);
    CXTPCommandBars* again = makeBars();
    {
        CXTPPropExchangeXMLNode load(TRUE, store.GetNode());
        again->DoPropExchange(&load);
    }
    bars->RemoveAll();
    again->RemoveAll();
    bars->InternalRelease();
    again->InternalRelease();
    return 0;
}
