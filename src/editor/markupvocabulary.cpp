#include "markupvocabulary.h"

#include <QHash>

namespace zendral {

namespace {

QStringList words(const char *spaced)
{
    return QString::fromLatin1(spaced).split(u' ', Qt::SkipEmptyParts);
}

const QStringList &globalAttributes()
{
    static const QStringList names = words(
        "accesskey class contenteditable dir draggable hidden id lang spellcheck style tabindex "
        "title translate inputmode enterkeyhint autocapitalize autofocus inert popover "
        "onclick ondblclick onmousedown onmouseup onmouseover onmouseout onmousemove onkeydown "
        "onkeyup onkeypress onfocus onblur onchange oninput onsubmit onload");
    return names;
}

// Each element's own attributes, the ones pages of old still carry included.
const QHash<QString, QStringList> &ownAttributes()
{
    static const QHash<QString, QStringList> table = [] {
        const std::pair<const char *, const char *> rows[] = {
            {"a", "href target title rel download hreflang type ping referrerpolicy name"},
            {"applet", "code codebase archive width height alt name align"},
            {"area", "alt coords shape href target download ping rel referrerpolicy"},
            {"audio", "src controls autoplay loop muted preload crossorigin"},
            {"base", "href target"},
            {"blockquote", "cite"},
            {"body", "onload onunload bgcolor text link vlink alink background"},
            {"button", "type name value disabled form formaction formenctype formmethod "
                       "formnovalidate formtarget popovertarget"},
            {"canvas", "width height"},
            {"col", "span width"},
            {"colgroup", "span width"},
            {"data", "value"},
            {"del", "cite datetime"},
            {"details", "open name"},
            {"dialog", "open"},
            {"div", "align"},
            {"embed", "src type width height"},
            {"fieldset", "disabled form name"},
            {"font", "face size color"},
            {"form", "action method enctype name target accept-charset autocomplete novalidate "
                     "rel"},
            {"frame", "src name scrolling noresize frameborder marginwidth marginheight"},
            {"frameset", "rows cols"},
            {"h1", "align"},
            {"h2", "align"},
            {"h3", "align"},
            {"h4", "align"},
            {"h5", "align"},
            {"h6", "align"},
            {"hr", "align size width noshade color"},
            {"html", "lang xmlns manifest"},
            {"iframe", "src name width height allow allowfullscreen sandbox srcdoc loading "
                       "referrerpolicy frameborder scrolling marginwidth marginheight align"},
            {"ilayer", "src name width height left top visibility bgcolor background"},
            {"img", "src alt width height srcset sizes loading decoding usemap ismap crossorigin "
                    "referrerpolicy border align hspace vspace"},
            {"input", "type name value placeholder checked disabled readonly required size "
                      "maxlength minlength min max step pattern multiple accept alt src list "
                      "autocomplete dirname form formaction formenctype formmethod "
                      "formnovalidate formtarget width height"},
            {"ins", "cite datetime"},
            {"label", "for"},
            {"li", "value type"},
            {"link", "rel href type media hreflang sizes as crossorigin integrity "
                     "referrerpolicy"},
            {"map", "name"},
            {"meta", "name content charset http-equiv"},
            {"meter", "value min max low high optimum"},
            {"object", "data type name width height form"},
            {"ol", "start reversed type"},
            {"optgroup", "label disabled"},
            {"option", "value selected disabled label"},
            {"output", "for form name"},
            {"p", "align"},
            {"progress", "value max"},
            {"q", "cite"},
            {"script", "src type async defer crossorigin integrity nomodule referrerpolicy "
                       "language"},
            {"select", "name multiple size disabled required autocomplete form"},
            {"slot", "name"},
            {"source", "src type srcset sizes media width height"},
            {"style", "media type"},
            {"table", "border cellpadding cellspacing width bgcolor align summary"},
            {"td", "colspan rowspan headers width height bgcolor align valign nowrap"},
            {"textarea", "name rows cols placeholder disabled readonly required maxlength "
                         "minlength wrap autocomplete dirname form"},
            {"th", "colspan rowspan headers scope abbr width height bgcolor align valign "
                   "nowrap"},
            {"time", "datetime"},
            {"tr", "align valign bgcolor"},
            {"track", "src kind srclang label default"},
            {"ul", "type"},
            {"video", "src poster width height controls autoplay loop muted playsinline preload "
                      "crossorigin"},
        };
        QHash<QString, QStringList> built;
        for (const auto &[element, attributes] : rows)
            built.insert(QString::fromLatin1(element), words(attributes));
        return built;
    }();
    return table;
}

} // namespace

const QStringList &elementNames()
{
    static const QStringList names = words(
        "a abbr address applet area article aside audio b base bdi bdo blink blockquote body br "
        "button canvas caption cite code col colgroup data datalist dd del details dfn dialog div "
        "dl dt em embed fieldset figcaption figure font footer form frame frameset h1 h2 h3 h4 h5 "
        "h6 head header hgroup hr html i iframe ilayer img input ins kbd label legend li link "
        "main map mark menu meta meter nav noscript object ol optgroup option output p picture "
        "pre progress q rp rt ruby s samp script search section select slot small source span "
        "strong style sub summary sup table tbody td template textarea tfoot th thead time title "
        "tr track u ul var video wbr");
    return names;
}

QStringList attributesOf(QStringView element)
{
    const QString name = element.toString().toLower();
    QStringList result = ownAttributes().value(name);
    for (const QString &global : globalAttributes()) {
        if (!result.contains(global))
            result.append(global);
    }
    return result;
}

QStringList valuesOf(QStringView element, QStringView attribute)
{
    const QString name = element.toString().toLower();
    const QString key = attribute.toString().toLower();
    if (key == u"type") {
        if (name == u"input")
            return words("text password checkbox radio submit reset button hidden file image "
                         "email url tel number range date time datetime-local month week color "
                         "search");
        if (name == u"button")
            return words("submit reset button");
        if (name == u"ol" || name == u"li")
            return words("1 a A i I");
        if (name == u"ul")
            return words("disc circle square");
        if (name == u"script")
            return words("text/javascript module");
        if (name == u"style" || name == u"link")
            return words("text/css");
        return {};
    }
    if (key == u"align") {
        if (name == u"img" || name == u"iframe" || name == u"applet")
            return words("left right top middle bottom");
        return words("left center right justify");
    }
    if (key == u"name" && name == u"meta")
        return words("description keywords author viewport generator robots");
    static const QHash<QString, QStringList> fixed = [] {
        const std::pair<const char *, const char *> rows[] = {
            {"target", "_blank _self _parent _top"},
            {"formtarget", "_blank _self _parent _top"},
            {"method", "get post dialog"},
            {"formmethod", "get post dialog"},
            {"enctype", "application/x-www-form-urlencoded multipart/form-data text/plain"},
            {"formenctype", "application/x-www-form-urlencoded multipart/form-data text/plain"},
            {"rel", "stylesheet icon alternate author bookmark canonical external help license "
                    "manifest next nofollow noopener noreferrer prev preload search tag"},
            {"valign", "top middle bottom baseline"},
            {"dir", "ltr rtl auto"},
            {"shape", "rect circle poly default"},
            {"scope", "row col rowgroup colgroup"},
            {"loading", "lazy eager"},
            {"decoding", "sync async auto"},
            {"crossorigin", "anonymous use-credentials"},
            {"preload", "none metadata auto"},
            {"wrap", "soft hard"},
            {"autocomplete", "on off"},
            {"draggable", "true false"},
            {"spellcheck", "true false"},
            {"contenteditable", "true false"},
            {"translate", "yes no"},
            {"scrolling", "yes no auto"},
            {"http-equiv", "content-type refresh default-style x-ua-compatible "
                           "content-security-policy"},
            {"charset", "utf-8 windows-1252 iso-8859-15"},
            {"lang", "es en fr de it pt ca gl eu"},
            {"hreflang", "es en fr de it pt ca gl eu"},
            {"srclang", "es en fr de it pt ca gl eu"},
            {"kind", "subtitles captions descriptions chapters metadata"},
            {"inputmode", "none text decimal numeric tel search email url"},
            {"enterkeyhint", "enter done go next previous search send"},
            {"autocapitalize", "off none on sentences words characters"},
            {"popover", "auto manual"},
            {"referrerpolicy", "no-referrer no-referrer-when-downgrade origin "
                               "origin-when-cross-origin same-origin strict-origin "
                               "strict-origin-when-cross-origin unsafe-url"},
            {"sandbox", "allow-forms allow-modals allow-popups allow-same-origin allow-scripts "
                        "allow-top-navigation"},
            {"as", "audio document embed fetch font image object script style track video "
                   "worker"},
        };
        QHash<QString, QStringList> built;
        for (const auto &[attributeName, values] : rows)
            built.insert(QString::fromLatin1(attributeName), words(values));
        return built;
    }();
    return fixed.value(key);
}

bool isVoidElement(QStringView element)
{
    static const QStringList names =
        words("area base br col embed hr img input link meta source track wbr frame param keygen "
              "basefont");
    return names.contains(element.toString(), Qt::CaseInsensitive);
}

bool namesFile(QStringView attribute)
{
    return attribute.compare(u"href", Qt::CaseInsensitive) == 0 ||
           attribute.compare(u"src", Qt::CaseInsensitive) == 0;
}

} // namespace zendral
