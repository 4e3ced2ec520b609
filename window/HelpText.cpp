#include "window/HelpText.h"

namespace {

enum Kind { kHeading, kParagraph, kItem };
struct Words {
  Kind kind;
  const char* text;
};

// Short sentences for a first-year student; each term is explained where it first appears. A
// heading starts a section; its paragraphs come first, then its list.
const Words kHelp[] = {
    {kHeading, "Co pokazuje ten program"},
    {kParagraph, "Ten program pokazuje, jak analiza składowych głównych streszcza tabelę liczb."},
    {kParagraph, "Tabela ma 20 obserwacji, na przykład 20 osób, i 10 zmiennych, czyli cech zmierzonych u "
     "każdej z nich. Wariancja mówi, jak bardzo wartości różnią się między obserwacjami. "
     "Składowa główna to nowa oś, ważona suma zmiennych, wzdłuż której obserwacje różnią się "
     "najbardziej. Składowa 1 niesie najwięcej wariancji, składowa 2 najwięcej z tego, co "
     "zostaje."},
    {kParagraph, "Waga zmiennej w składowej to jej ładunek: im dalej od zera, tym mocniej zmienna składa "
     "się na składową, a znak mówi, czy rośnie razem z nią, czy maleje. Wynik obserwacji to "
     "jej miejsce na osi składowej."},
    {kHeading, "Jak czytać wykres"},
    {kItem, "Czerwone paski to zmienne 1 do 10, od góry. Żółte kwadraty to wartości 20 obserwacji, "
     "od lewej do prawej: im wyżej kwadrat, tym większa wartość. Środek paska to zero, na "
     "początku średnia zmiennej."},
    {kItem, "Dwa czarne paski pod nimi to wyniki obserwacji na składowej 1 i na składowej 2, w tej "
     "samej kolejności obserwacji. Są tak przeskalowane, że największy z nich ma wielkość 0,3."},
    {kItem, "Kreskowane słupki po prawej to ładunki: lewa pionowa oś należy do składowej 1, prawa do "
     "składowej 2. Słupek leży na wysokości swojej zmiennej. Słupek w prawo od osi to ładunek "
     "dodatni, w lewo ujemny; im dłuższy, tym mocniej zmienna składa się na składową."},
    {kItem, "Procenty obok czarnych pasków mówią, jaką część całej wariancji niesie składowa 1 "
     "(górny) i składowa 2 (dolny)."},
    {kHeading, "Jak zmienić wartość"},
    {kItem, "Myszą: naciśnij przycisk myszy na czerwonym pasku, w miejscu obserwacji, i puść go na "
     "wysokości, którą ma mieć wartość."},
    {kItem, "Palcem tak samo: dotknij paska i oderwij palec na nowej wysokości."},
    {kItem, "Po każdej zmianie okno pokazuje same dane. Przycisk „Oblicz składowe główne” albo "
     "Alt+O liczy składowe główne zmienionej tabeli."},
    {kItem, "Z klawiatury: w tabeli danych (klawisz T) wpisz nową wartość, liczbę od -0,5 do 0,5, "
     "z przecinkiem, i naciśnij Enter. Enter na wybranym punkcie wykresu otwiera tabelę w jego "
     "komórce."},
    {kItem, "Każdą zmianę można cofnąć: Ctrl+Z cofa ostatnią, aż do tabeli z początku, a Ctrl+Y "
     "albo Ctrl+Shift+Z przywraca cofniętą."},
    {kHeading, "Klawisze"},
    {kItem, "Tab: przejście do wykresu, po przycisku, gdy jest widoczny."},
    {kItem, "Strzałki w dół i w górę: następna i poprzednia zmienna. Pierwszy klawisz wybiera "
     "zmienną 1, obserwację 1."},
    {kItem, "Strzałki w prawo i w lewo: następna i poprzednia obserwacja. Home i End: pierwsza i "
     "ostatnia obserwacja, Ctrl+Home i Ctrl+End: pierwsza i ostatnia zmienna."},
    {kItem, "Page Up i Page Down albo Shift ze strzałką w górę lub w dół: wartość wybranego punktu o "
     "jeden piksel wyżej lub niżej, Shift+Page Up i Shift+Page Down o dziesięć."},
    {kItem, "Alt+O: składowe główne zmienionej tabeli."},
    {kItem, "T: tabela danych, z wynikami i ładunkami w widoku składowych. Enter: wpisanie wartości "
     "wybranego punktu. W tabeli strzałki przechodzą między komórkami, pisanie albo Enter zaczyna "
     "wpisywanie, Escape zamyka tabelę."},
    {kItem, "Ctrl+Z: cofnięcie ostatniej zmiany. Ctrl+Y albo Ctrl+Shift+Z: jej przywrócenie."},
    {kItem, "F1 albo znak zapytania: ta pomoc. Escape albo przycisk „Zamknij” ją zamyka."},
};

}  // namespace

THelpText HelpFor(const std::string& summary) {
  THelpText help;
  help.Title = "Pomoc";
  help.CloseCaption = "Zamknij";
  help.TableCaption = "Tabela danych";
  for (const Words& w : kHelp) {
    if (w.kind == kHeading) help.Sections.push_back({w.text, {}, {}});
    else if (w.kind == kParagraph) help.Sections.back().Paragraphs.push_back(w.text);
    else help.Sections.back().Items.push_back(w.text);
  }
  help.Sections.push_back({"Co teraz pokazuje wykres", {summary}, {}});
  return help;
}
