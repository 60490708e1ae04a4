#pragma once

// The earlier-message separators that the stamp goes above, one row each. A new form is one new
// row; each row names a real message that shows it (public mailing-list archives: list, date and
// sender, or the message's id).

#include "stamping/separators.h"

namespace quillmark::stamping {

namespace separator_table {

using enum SeparatorShape;
using enum Letters;
using enum StampSpot;
inline constexpr FormatSet kHtml = Formats(BodyFormat::kHtml);
inline constexpr FormatSet kRtf = Formats(BodyFormat::kRtf);
inline constexpr FormatSet kHtmlAndRtf = Formats(BodyFormat::kHtml, BodyFormat::kRtf);
inline constexpr FormatSet kTextAndRtf = Formats(BodyFormat::kPlain, BodyFormat::kRtf);

// clang-format off
inline constexpr SeparatorRow kRows[] = {
    // The English line that replies and forwards have long carried, and the only one that older
    // releases knew: a body holding only it is stamped as it always was (in HTML, unless the line
    // starts its element: see separators.h).
    // amd-gfx, 14 Oct 2019, <BN6PR12MB1809828E95CEF9151F1C7180F7900@BN6PR12MB1809.namprd12.prod.outlook.com>
    {u"the \"-----Original Message-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Original Message"},

    // The same line as Outlook writes it in other display languages.
    // linux-media, 21 Jan 2013 (Jan Stumpf)
    {u"the German \"-----Urspr\u00fcngliche Nachricht-----\" line", kEveryFormat, kLine, kExact,
     kBefore, u"-----Urspr\u00fcngliche Nachricht-----"},
    // RTF spells a character beyond ASCII by its code page's byte (Windows-1252 here).
    {u"the German \"-----Urspr\u00fcngliche Nachricht-----\" line", kRtf, kLine, kExact, kBefore,
     u"-----Urspr\\'fcngliche Nachricht-----"},
    // linux-kernel, 16 Apr 2004 (Paul Rolland)
    {u"the French \"-----Message d'origine-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Message d'origine-----"},
    // netdev, 23 Jun 2024 (r8169 thread); jailhouse-dev, Dec 2020
    {u"the Spanish \"-----Mensaje original-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Mensaje original-----"},
    // linux-pci, 31 Mar 2020 (Ansuel Smith, Microsoft Outlook 16.0)
    {u"the Italian \"-----Messaggio originale-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Messaggio originale-----"},
    // samba-technical, 22 Nov 2019 (L. van Belle)
    {u"the Dutch \"-----Oorspronkelijk bericht-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Oorspronkelijk bericht-----"},
    // linux-kernel, 1 Apr 2004 (Rui Santos)
    {u"the Portuguese \"-----Mensagem original-----\" line", kEveryFormat, kLine, kExact, kBefore,
     u"-----Mensagem original-----"},
    // exim-users, 6 Sep 2019
    {u"the Swedish \"-----Ursprungligt meddelande-----\" line", kEveryFormat, kLine, kExact,
     kBefore, u"-----Ursprungligt meddelande-----"},
    // linux-kernel, 14 Dec 2021 (RenLei, Microsoft Outlook 16.0)
    {u"the Chinese \"-----\u90ae\u4ef6\u539f\u4ef6-----\" line", kEveryFormat, kLine, kExact,
     kBefore, u"-----\u90ae\u4ef6\u539f\u4ef6-----"},
    // clang-built-linux, 24 Aug 2020 (ChiYuan Huang)
    {u"the Chinese \"-----\u539f\u59cb\u90f5\u4ef6-----\" line", kEveryFormat, kLine, kExact,
     kBefore, u"-----\u539f\u59cb\u90f5\u4ef6-----"},

    // Outlook on the web, in plain text: a rule of 32 underscores (40 in older versions), then
    // the header's first label on the next line.
    // amd-gfx, 14 Oct 2019, <BN6PR12MB1809828E95CEF9151F1C7180F7900@BN6PR12MB1809.namprd12.prod.outlook.com>
    {u"the line of underscores above a header", kTextAndRtf, kLineThenLabel, kExact, kBefore,
     u"________________________________"},

    // Outlook on the web, new Outlook and the mobile apps: a div that marks where the reply ends,
    // then a rule, then the header's div. Quoted copies carry the same ids prefixed with "x_",
    // which are values of their own and so never match.
    // amd-gfx, 24 Aug 2019 (Wayne Lin); amd-gfx, Jan 2021 (Horace Chen: the div not empty)
    {u"the web reply's end mark (appendonsend)", kHtml, kAttributeValue, kMarkupAnyCase, kBefore,
     u"appendonsend"},
    // outlook.com and the mobile apps write no end mark: the rule above the header is the top.
    // qemu-devel, Jul 2021 (an outlook.com sender); jailhouse-dev, May 2019 (iOS)
    {u"the web reply header (divRplyFwdMsg)", kHtml, kAttributeValue, kMarkupAnyCase,
     kBeforeRuleAbove, u"divRplyFwdMsg"},
    // New Outlook wraps the quoted message, header block and all, in a container of its own.
    // amd-gfx, 2023 (new Outlook)
    {u"new Outlook's quoted-message container", kHtml, kAttributeValue, kMarkupAnyCase, kBefore,
     u"mail-editor-reference-message-container"},

    // Desktop Outlook 2007 and later: the header sits in a div with a thin rule above it, mostly
    // inside a wrapping div. 2013 and later draw the rule in #E1E1E1, 2007 and 2010 (and Outlook
    // for Mac) in #B5C4DF; metric locales measure the padding in centimetres.
    // intel-gvt-dev, Oct 2019 (Angela Wang)
    {u"the desktop header block", kHtml, kAttributeValue, kMarkupAnyCase, kBefore,
     u"border:none;border-top:solid #E1E1E1 1.0pt;padding:3.0pt 0in 0in 0in"},
    // usrp-users, 2024 (Portuguese desktop reply)
    {u"the desktop header block", kHtml, kAttributeValue, kMarkupAnyCase, kBefore,
     u"border:none;border-top:solid #E1E1E1 1.0pt;padding:3.0pt 0cm 0cm 0cm"},
    // openwrt-devel, 13 Nov 2019 (Susan Dauber, Outlook 2010)
    {u"the desktop header block (2007, 2010, Mac)", kHtml, kAttributeValue, kMarkupAnyCase,
     kBefore, u"border:none;border-top:solid #B5C4DF 1.0pt;padding:3.0pt 0in 0in 0in"},
    // the Outlook 2007 reply among talon's test messages (Apache-2.0), ms_outlook_2007.html
    {u"the desktop header block (2007, 2010, Mac)", kHtml, kAttributeValue, kMarkupAnyCase,
     kBefore, u"border:none;border-top:solid #B5C4DF 1.0pt;padding:3.0pt 0cm 0cm 0cm"},

    // Word's bookmark at the start of the quoted message.
    // usrp-users, 8 Oct 2021, <BN7PR05MB450066DB9ABF262DE0F01C51D5B19@BN7PR05MB4500.namprd05.prod.outlook.com>
    {u"Word's _MailOriginal bookmark", kHtml, kAttributeValue, kMarkupAnyCase, kBefore,
     u"_MailOriginal"},
    // The same bookmark in Word's RTF (no public RTF body travels outside TNEF: made in Word's
    // RTF shape, the bookmark as Word writes every bookmark start).
    {u"Word's _MailOriginal bookmark", kRtf, kAfterLead, kExact, kBefore, u"_MailOriginal}",
     u"{\\*\\bkmkstart "},

    // Desktop replies without the rule, and Outlook 2003, which draws a centred <hr> above the
    // header: the bold labels of the header's first two lines, in the display language (in RTF
    // only labels in ASCII match: RTF spells other characters by code page).
    // talon's test messages (Apache-2.0): standard_replies/outlook.eml (2010), ms_outlook_2003.html
    {u"the bold From:/Sent: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove, u"From",
     u"Sent"},
    // usrp-users, 2026 (Amsel); amd-gfx, Feb 2023 (Christian K\u00f6nig)
    {u"the bold Von:/Gesendet: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"Von", u"Gesendet"},
    // usrp-users, 25 Jun 2021 ("De&nbsp;:", a blank before the colon)
    {u"the bold De :/Envoy\u00e9 : header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"De", u"Envoy\u00e9"},
    // openrisc, Oct 2019 (Stafford Horne quoted); usrp-users, Nov 2021
    {u"the bold De:/Enviado el: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"De", u"Enviado el"},
    // a desktop reply of 13 Sep 2024 (Word's own form)
    {u"the bold Da:/Inviato: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove, u"Da",
     u"Inviato"},
    // a desktop reply of 26 Mar 2026 (Dutch)
    {u"the bold Van:/Verzonden: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"Van", u"Verzonden"},
    // usrp-users, 11 Dec 2024
    {u"the bold De:/Enviada em: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"De", u"Enviada em"},
    // jailhouse-dev, May 2019 (Swedish, iOS)
    {u"the bold Fr\u00e5n:/Skickat: header", kHtmlAndRtf, kBoldLabelPair, kExact, kBeforeRuleAbove,
     u"Fr\u00e5n", u"Skickat"},
    // Word splits the label and its colon into runs of their own: amd-gfx, 2023 (Stanley Yang);
    // qemu-devel, Jan 2023
    {u"the bold \u53d1\u4ef6\u4eba:/\u53d1\u9001\u65f6\u95f4: header", kHtmlAndRtf, kBoldLabelPair,
     kExact, kBeforeRuleAbove, u"\u53d1\u4ef6\u4eba", u"\u53d1\u9001\u65f6\u95f4"},
    // openbmc, Jul 2022 (plain text of the same header); ceph-devel, Jul 2025
    {u"the bold \u5bc4\u4ef6\u8005:/\u5bc4\u4ef6\u65e5\u671f: header", kHtmlAndRtf, kBoldLabelPair,
     kExact, kBeforeRuleAbove, u"\u5bc4\u4ef6\u8005", u"\u5bc4\u4ef6\u65e5\u671f"},
};
// clang-format on

}  // namespace separator_table

inline constexpr auto& kSeparatorTable = separator_table::kRows;

}  // namespace quillmark::stamping
