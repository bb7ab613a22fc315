// Translating one statement from the SQL Server dialect into the Oracle dialect by plain text
// surgery: TOP into ROWNUM, LEN and Charindex into LENGTH and InStr, brackets into quotes,
// known date columns of the WHERE part compared by day, date literals into TO_DATE.
#include <array>
#include <string>
#include <string_view>

#include "db/db_dll.h"
#include "db/on_error.h"
#include "platform/text/regional.h"
#include "platform/text/strings.h"

namespace db {

namespace {

// Date columns of the suite's database, spelled as the database spells them.
// clang-format off
constexpr std::array<std::string_view, 86> kDateColumns{
    "FECHA", "FECHAD", "FECHAH", "VENCIMIENTO", "FECHASUBDIARIO", "FECHAENTREGA", "FECHA_A_VENCER",
    "FECHA_DMR", "INGRESO", "EGRESO", "FECHAHORA_GRABACION", "FECHAHORA_MODIFICACION",
    "FECHA_COMPRA", "FECHA_REVALUACION", "VENCIMIENTO_REGISTRO", "VENCIMIENTO_SEGURO", "VTO_VTV",
    "VTO_C_VERDE", "VTO_SEGURO", "FECHAAVISO", "FECHAALARMA", "FECHALEIDO", "FECHAPRESENTACION",
    "FECHAVTOPRESENTACION", "FECHA_CIERRE", "FECHAMOV", "FECHA_DESDE", "FECHA_HASTA", "FECHA_ALTA",
    "FECHA_MODIFICACION", "\"FECHA DESDE\"", "\"FECHA HASTA\"", "FECHA_INICIO",
    "FECHA_FINALIZACION", "FECHA_RENDICION", "ACARGODESDE", "FECHACASAMIENTO", "FECHAINGRESO",
    "FECHANACIMIENTO", "FECHAINGRESOANTERIOR", "FECHAEGRESO", "VENCECONTRATO", "FECHAALTA",
    "PDESDE", "PHASTA", "FECHAPROCESO", "FECHAHORAENTREVISTA", "FECHAOPERATIVA", "FECHAPAGO",
    "FECHAHORA", "FECHASOLICITUD", "FECHACARGA", "FECHACOMPROMETIDO", "FECHAORDENCPRA", "VENCEM",
    "VENCER", "FECHA_GRABACION", "FHOFERTADESDE", "FHOFERTAHASTA", "FHOPERATIVA", "FHALTA",
    "FHCIERRE", "COT_FECHA", "FECHAESTINCIO", "FECHAESTFIN", "FECHAFINALIZACION", "FECHAENTREGA",
    "FECHAENCPTE", "FECHAINCIO", "FECHAFIN", "FECHAREALINICIO", "FECHAREALFIN", "FECHAINVIADO",
    "FECHARECIBIDO", "ACTUALIZADO", "FECHA_ANULACION", "DIAMOLIENDA", "DIAMEZCLA", "FECHAEMISION",
    "FINALIZADO", "SINCRONIZADO", "VENCEA", "VENCEB", "VENCEC", "VENCEE", "VENCEX"};
// clang-format on

bool IsDateColumn(std::string_view token) {
    for (std::string_view column : kDateColumns) {
        if (text::EqualsNoCase(token, column)) return true;
    }
    return false;
}

// SELECT TOP n ... becomes a ROWNUM condition placed before any GROUP BY / ORDER BY tail.
// Positions are taken in the statement as written, so its letter case is kept.
std::string TranslateTop(const std::string& valor) {
    const int p = text::InStr(valor, "top");
    const std::string head = text::Left(valor, p - 1);
    const std::string rest = text::Trim(text::Mid(valor, p + 3));
    const int blank = text::InStr(rest, " ");
    if (blank == 0) detail::RaiseInvalidArgument();
    const std::string limit = text::Left(rest, blank - 1);
    std::string body = text::Mid(rest, blank + 1);

    std::string groupTail;
    std::string orderTail;
    if (const int g = text::InStr(valor, " GROUP BY "); g > 0) {
        groupTail = text::Mid(valor, g);
    } else if (const int o = text::InStr(valor, " ORDER BY "); o > 0) {
        orderTail = text::Mid(valor, o);
    }
    const std::string condition =
        text::Contains(valor, " WHERE ") ? " AND ROWNUM <= " + limit : " WHERE ROWNUM <= " + limit;
    body = text::ReplaceAll(body, text::Trim(groupTail), " ");
    body = text::ReplaceAll(body, text::Trim(orderTail), " ");
    return head + " " + body + " " + condition + " " + groupTail + " " + orderTail;
}

// Length of the next token of a WHERE part: a quoted name or literal up to its closing
// quote, otherwise up to and including the nearest separator (to the end when none).
// A doubled quote inside a literal belongs to the literal, so the rebuilt WHERE part never
// puts a blank into a text value such as 'O''BRIEN'.
int NextTokenLength(const std::string& condition) {
    const int length = text::Len(condition);
    const char first = condition.front();
    if (first == '"') {
        const int close = text::InStrExact(condition, "\"", 2);
        return close > 0 ? close : length;
    }
    if (first == '\'') {
        for (int from = 2;;) {
            const int close = text::InStrExact(condition, "'", from);
            if (close == 0) return length;
            if (close < length && condition[static_cast<std::size_t>(close)] == '\'') {
                from = close + 2;
                continue;
            }
            return close;
        }
    }
    int nearest = 0;
    for (std::string_view separator : {" ", "<", ">", "\"", "=", "(", ")"}) {
        const int p = text::InStrExact(condition, separator, 2);
        if (p > 0 && (nearest == 0 || p < nearest)) nearest = p;
    }
    return nearest > 0 ? nearest : text::Len(condition);
}

// Rebuilds the WHERE part token by token with single blanks, wrapping the known date
// columns so they compare by day.
std::string WrapDateColumns(const std::string& working) {
    const int w = text::InStr(working, " WHERE ");
    const std::string head = text::Trim(text::Left(working, w));
    std::string condition = text::Trim(text::Mid(working, w));
    std::string tail;
    while (!text::Trim(condition).empty()) {
        const int length = NextTokenLength(condition);
        std::string token = text::Trim(text::Left(condition, length));
        condition = text::Trim(text::Mid(condition, length + 1));
        if (IsDateColumn(token)) {
            token = "TO_DATE(TO_CHAR(" + token + ",'DD/MM/YYYY'),'DD/MM/YYYY')";
        }
        tail += " " + token;
    }
    return head + tail;
}

// Whether the text before byte `quote` (blanks skipped) opens a TO_DATE call.
bool OpensToDate(const std::string& s, std::size_t quote) {
    std::size_t end = quote;
    while (end > 0 && s[end - 1] == ' ') --end;
    constexpr std::string_view kCall = "TO_DATE(";
    return end >= kCall.size() &&
           text::EqualsNoCase(s.substr(end - kCall.size(), kCall.size()), kCall);
}

// Every quoted literal that reads as a day/month/year date becomes a TO_DATE call, in one
// pass over the statement: each literal is wrapped once where it stands, and one already
// inside TO_DATE( is left as it is.
std::string ConvertDateLiterals(const std::string& working) {
    text::RegionalSettings dmy = text::RegionalSettings::Current();
    dmy.dateOrder = text::DateOrder::DMY;
    std::string result;
    std::size_t copied = 0;  // bytes of `working` already in `result`
    int position = 1;
    for (;;) {
        const int open = text::InStrExact(working, "'", position);
        if (open == 0) break;
        const int close = text::InStrExact(working, "'", open + 1);
        // A quote without a partner leaves a literal of negative length.
        if (close == 0) detail::RaiseInvalidArgument();
        const std::string literal = text::Mid(working, open + 1, close - open - 1);
        const auto quote = static_cast<std::size_t>(open - 1);
        if (const auto date = text::ParseDate(literal, dmy); date && !OpensToDate(working, quote)) {
            result.append(working, copied, quote - copied);
            result += "TO_DATE('" + text::FormatDMY(*date, '/') + "','DD/MM/YYYY')";
            copied = static_cast<std::size_t>(close);
        }
        position = close + 1;
    }
    result.append(working, copied);
    return result;
}

}  // namespace

std::string DB_Dll::ORACLE_Dicc(const std::string& Valor) {
    std::string working = text::ToUpper(Valor);
    if (!text::Contains(gConnString, "ORACLE")) return working;
    if (Utils().WordCount(Valor) <= 1) return working == "LEN" ? "LENGTH" : working;

    if (text::Contains(Valor, "top ")) working = TranslateTop(Valor);
    for (std::string_view len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("}) {
        working = text::ReplaceAll(working, len, " LENGTH(");
    }
    working = text::ReplaceAll(working, "[", "\"");
    working = text::ReplaceAll(working, "]", "\"");
    if (text::Contains(working, " WHERE ")) working = WrapDateColumns(working);
    working = ConvertDateLiterals(working);
    return text::ReplaceAll(working, "Charindex", "InStr");
}

}  // namespace db
