#include "app/HelpTexts.h"

#include <QHash>

namespace {

// The product archive, as the product card explains it. The main menu tells the same
// topics, with its own opening paragraph in place of the first two.
QStringList productParagraphs()
{
    return {
        QStringLiteral(
            "L'archivio Magazzino Prodotti raccoglie una scheda per ogni articolo trattato "
            "dall'azienda, con il codice, la descrizione, i dati di acquisto, i prezzi, "
            "l'aliquota IVA, la collocazione e soprattutto la giacenza, cioè la quantità "
            "presente in magazzino. Da questa schermata si registrano i carichi e gli scarichi "
            "di merce, si calcolano i prezzi e il valore delle scorte, si tengono sotto "
            "controllo gli articoli in esaurimento e si stampano o si esportano le schede."),
        QStringLiteral(
            "La scheda è divisa in quattro sezioni: i dati identificativi dell'articolo "
            "(codice, tipologia, marca, modello, descrizione e accessori), i dati di "
            "approvvigionamento (fornitore, recapito preferenziale, data e documento di "
            "acquisto, modalità di ordine), la giacenza con i prezzi e infine la collocazione "
            "in magazzino con le note. Il pulsante Altre informazioni permette di registrare "
            "altezza, larghezza, lunghezza e scadenza del prodotto. I dati del fornitore non "
            "vanno necessariamente digitati: facendo clic sulla piccola icona accanto al "
            "recapito preferenziale si apre la ricerca nell'archivio Fornitori e, con un doppio "
            "clic sul fornitore desiderato, la denominazione, il recapito e la modalità di "
            "ordine vengono copiati nella scheda."),
        QStringLiteral(
            "La giacenza non si digita: il campo è di sola lettura e cambia soltanto con i "
            "pulsanti «+» (carico) e «-» (scarico) posti accanto a esso. Ciascuno apre una "
            "finestra in cui si indica la quantità; premendo Applica e chiudi la nuova giacenza "
            "viene riportata nella scheda e il movimento viene registrato subito nell'archivio "
            "annuale dei movimenti (per esempio Carico_2024.mrv oppure Scarico_2024.mrv), dal "
            "quale si ottengono i riepiloghi. Per conservare la nuova giacenza nell'archivio "
            "dei prodotti occorre poi premere Salva."),
        QStringLiteral(
            "Conviene aggiornare la giacenza per ultima, dopo aver compilato il resto della "
            "scheda: il movimento riporta infatti, oltre alla data e all'ora dell'operazione, "
            "il codice, la tipologia, la marca e il modello letti dalla scheda e, come importo "
            "unitario, il costo dell'articolo per i carichi oppure il prezzo senza IVA per gli "
            "scarichi. Senza codice articolo non è possibile registrare un movimento. Nella "
            "finestra del movimento si può aggiungere una nota, per esempio il numero del "
            "documento di trasporto o il nome del cliente."),
        QStringLiteral(
            "Nel campo Avviso sottoscorta si indica il numero di pezzi raggiunto il quale "
            "l'articolo va riordinato. Il pulsante Sottoscorta visualizza l'elenco dei "
            "materiali in esaurimento, cioè degli articoli la cui giacenza è pari o inferiore "
            "a tale soglia, con il costo, la giacenza e le note; l'elenco si può stampare e, "
            "con un doppio clic su una riga, l'articolo viene richiamato nella scheda."),
        QStringLiteral(
            "Il pulsante Calcola ricava il prezzo IVA inclusa dal prezzo e dall'aliquota "
            "indicata; Scorpora esegue l'operazione inversa e ricava il prezzo senza IVA da "
            "quello IVA inclusa; Calcola valore moltiplica il costo per la giacenza e fornisce "
            "il valore della merce presente in magazzino. A ogni salvataggio il prezzo con IVA "
            "e il valore vengono comunque ricalcolati, così la scheda archiviata è sempre "
            "coerente. Nei campi degli importi si digitano soltanto le cifre e la virgola dei "
            "decimali."),
        QStringLiteral(
            "Per inserire un nuovo articolo si preme Nuovo, si compilano i campi e si preme "
            "Salva. L'unico dato obbligatorio è il codice articolo, che il programma non "
            "confronta con quello delle altre schede: è quindi opportuno scegliere codici "
            "diversi per articoli diversi. Una scheda archiviata si richiama con il pulsante "
            "Trova oppure scorrendo l'archivio con le frecce in basso a destra (prima, "
            "precedente, successiva e ultima scheda); il numero tra le frecce indica la "
            "posizione della scheda in archivio. Salva aggiorna la scheda richiamata senza "
            "crearne una nuova. Passando a un'altra scheda il programma non chiede conferma: "
            "le modifiche non salvate vanno perse."),
        QStringLiteral(
            "Il pulsante Duplica, disponibile dopo che la scheda è stata inserita in archivio, "
            "prepara una nuova scheda con gli stessi dati di quella visualizzata, esclusi i "
            "file allegati: è il modo più rapido per registrare articoli simili, per esempio lo "
            "stesso modello in misure o colori diversi. Dopo aver apportato le modifiche, a "
            "cominciare dal codice articolo, si preme Salva per inserire la nuova scheda in "
            "archivio."),
        QStringLiteral(
            "Il campo Tipologia indica la categoria merceologica dell'articolo ed è il criterio "
            "con cui si ottengono gli inventari parziali: l'inventario di una tipologia "
            "comprende gli articoli la cui tipologia contiene il testo indicato, senza "
            "distinguere tra maiuscole e minuscole. Per ottenere inventari affidabili conviene "
            "quindi scrivere le tipologie sempre nello stesso modo, per esempio Gomme, Ricambi "
            "o Accessori."),
        QStringLiteral(
            "Il campo Note accoglie le informazioni che non trovano posto negli altri campi e "
            "le parole chiave con cui ritrovare l'articolo in seguito: la ricerca nell'archivio "
            "esamina anche le note, per esempio un nome commerciale, un codice del fornitore o "
            "un'annotazione come «ordinato»."),
        QStringLiteral(
            "Il pulsante Trova apre la ricerca nell'archivio: si scrivono una o più parole "
            "consecutive in uno o più dei dieci campi proposti (codice, tipologia, marca, "
            "modello, descrizione, accessori, fornitore, documento di acquisto, collocazione e "
            "note), lasciando in bianco gli altri, e si preme Cerca. Vengono elencate le schede "
            "che contengono il testo indicato in ciascuno dei campi compilati, anche come parte "
            "di una parola e senza distinguere tra maiuscole e minuscole. L'elenco dei "
            "risultati si può stampare e, con un doppio clic su una riga, la scheda viene "
            "richiamata."),
        QStringLiteral(
            "Il pulsante Cerca sul Web apre il browser predefinito con una ricerca su Google "
            "della marca e del modello dell'articolo visualizzato: è un modo rapido per trovare "
            "schede tecniche, prezzi di listino e fornitori alternativi. Per effettuare la "
            "ricerca è necessario aver compilato almeno il campo Marca."),
        QStringLiteral(
            "Il pulsante Allega file consente di abbinare alla scheda fino a tre file, per "
            "esempio una fotografia, una scheda tecnica o una fattura, ciascuno con una breve "
            "descrizione. I file scelti vengono copiati nella cartella Documenti_Allegati, "
            "all'interno della cartella del programma, e si possono aprire in qualsiasi momento "
            "con il programma associato. Dopo aver premuto Applica e chiudi occorre salvare la "
            "scheda per conservare gli abbinamenti."),
        QStringLiteral(
            "Il pulsante Stampa stampa la scheda visualizzata, anche se non è ancora stata "
            "salvata; Crea PDF la salva come documento PDF nel file Articolo.pdf della cartella "
            "del programma, sostituendo quello precedente, e propone di aprirlo; Esporta "
            "archivio trasferisce l'intero archivio dei prodotti in un file di Microsoft Excel, "
            "Magazzino.xls."),
    };
}

QStringList movementParagraphs()
{
    return {
        QStringLiteral(
            "I riepiloghi dei movimenti elencano le operazioni di carico o di scarico "
            "registrate con i pulsanti «+» e «-» della scheda prodotto. Nella schermata di "
            "selezione si indica l'anno solare di interesse con quattro cifre, "
            "facoltativamente un codice articolo, e l'intervallo di tempo, scegliendo il giorno "
            "e il mese di inizio e di fine dagli elenchi a cascata: l'intervallo è sempre "
            "compreso nell'anno indicato. Senza codice articolo il riepilogo riguarda tutta la "
            "merce; con un codice, anche parziale, solo gli articoli il cui codice lo contiene. "
            "Si preme infine Visualizza riepilogo."),
        QStringLiteral(
            "Per ogni movimento il riepilogo mostra la data, il codice articolo, la tipologia, "
            "la marca e il modello, il numero dei pezzi e il costo unitario (per i carichi) o "
            "il prezzo unitario (per gli scarichi), nell'ordine in cui i movimenti sono stati "
            "registrati. In fondo alla schermata compaiono l'intervallo selezionato e il totale "
            "dei movimenti elencati. Il campo Trova cerca un testo nell'elenco e il pulsante "
            "Stampa riepilogo lo stampa, completo dell'intervallo e del totale."),
        QStringLiteral(
            "Dalla schermata di selezione, con l'icona del foglio di calcolo o la scritta "
            "Esporta, si esporta in un file di Microsoft Excel l'intero archivio dei movimenti "
            "dell'anno indicato, indipendentemente dall'intervallo e dal codice articolo "
            "scelti: Registro_Carico.xls per i carichi e Registro_Scarico.xls per gli scarichi, "
            "nella cartella del programma."),
    };
}

QStringList inventoryParagraphs()
{
    return {
        QStringLiteral(
            "L'inventario elenca gli articoli dell'archivio con il loro costo, la giacenza e il "
            "valore, e calcola il valore complessivo della merce in magazzino. Nella schermata "
            "di selezione si scrive una tipologia di articoli e si preme Visualizza; per "
            "ottenere l'inventario di tutti gli articoli si preme Visualizza senza indicare "
            "alcuna tipologia."),
        QStringLiteral(
            "Ogni riga dell'inventario riporta il codice articolo, la marca e il modello, il "
            "costo, la giacenza e il valore; le righe sono ordinate per codice articolo. In "
            "fondo alla schermata compaiono il valore totale della merce elencata e il numero "
            "degli articoli. Il valore di ciascun articolo è quello memorizzato nella sua "
            "scheda, che il programma ricalcola a ogni salvataggio: dopo un carico o uno "
            "scarico è quindi importante salvare la scheda prodotto."),
        QStringLiteral(
            "L'inventario parziale comprende gli articoli il cui campo Tipologia, nella scheda "
            "prodotto, contiene il testo indicato, senza distinguere tra maiuscole e "
            "minuscole: scrivendo gomm si ottengono per esempio le tipologie Gomme, GOMME "
            "INVERNALI e Ricambi gomma. Per questo conviene compilare la tipologia di ogni "
            "articolo in modo uniforme; gli articoli senza tipologia compaiono soltanto "
            "nell'inventario completo."),
        QStringLiteral(
            "Il pulsante Stampa inventario stampa l'elenco visualizzato, con la tipologia "
            "selezionata nel titolo e il valore totale in fondo. Il campo Trova permette di "
            "cercare rapidamente un testo, per esempio un codice, all'interno dell'elenco."),
    };
}

QStringList chartParagraphs()
{
    return {
        QStringLiteral(
            "La schermata Grafici mostra in figura i dati degli archivi. Si apre con il "
            "pulsante Grafici della selezione dell'inventario, delle due selezioni dei "
            "riepiloghi movimenti e della barra degli strumenti dell'anagrafica Clienti. "
            "Nell'elenco Grafico si sceglie il grafico; per i grafici di un anno si sceglie "
            "l'anno nell'elenco Anno, che propone gli anni per i quali esiste un archivio "
            "movimenti."),
        QStringLiteral(
            "Carichi e scarichi per mese mostra, per ogni mese dell'anno, i pezzi caricati e "
            "scaricati (barre, scala a sinistra) e il loro valore in euro (linee, scala a "
            "destra): pezzi per costo unitario per i carichi, pezzi per prezzo unitario per gli "
            "scarichi. I movimenti contati sono gli stessi del riepilogo movimenti di quel mese "
            "senza codice articolo. Valore del magazzino per tipologia divide il valore "
            "dell'inventario completo secondo il campo Tipologia delle schede prodotto, dalla "
            "più grande: le tipologie scritte con maiuscole diverse sono una sola, gli articoli "
            "senza tipologia stanno in Senza tipologia e oltre la nona tipologia le restanti "
            "sono sommate in Altre; il totale è quello dell'inventario."),
        QStringLiteral(
            "Articoli più scaricati elenca i dieci codici articolo con più pezzi scaricati "
            "nell'anno, con marca e modello dell'ultimo scarico. Rate in scadenza nei prossimi "
            "12 mesi conta, mese per mese da oggi, le rate dei Clienti che scadono (data di "
            "scadenza della prossima rata) e ne somma gli importi."),
        QStringLiteral(
            "Sotto il grafico compaiono i totali e, in rosso, gli avvisi: un movimento con una "
            "data illeggibile, un articolo con un valore illeggibile o una scheda cliente con "
            "una scadenza illeggibile interrompono la lettura come negli elenchi, e il grafico "
            "mostra i dati letti fino a quel punto. Stampa stampa il grafico su un foglio "
            "orizzontale; Crea PDF lo salva nel file Grafico.pdf della cartella del programma; "
            "Esporta CSV scrive i numeri del grafico nel file Grafico.csv, una riga per barra "
            "o per mese, con il punto e virgola come separatore e la virgola decimale, pronto "
            "per il foglio di calcolo. Ogni salvataggio sostituisce il file precedente."),
    };
}

QStringList customerParagraphs()
{
    return {
        QStringLiteral(
            "L'Anagrafica Clienti è una vera e propria rubrica elettronica: per ogni cliente "
            "conserva i dati anagrafici, i recapiti e le coordinate bancarie, permette di "
            "scrivergli un messaggio di posta elettronica con un solo clic e di verificare la "
            "correttezza del codice fiscale, della partita IVA, del numero della carta di "
            "credito e del codice IBAN."),
        QStringLiteral(
            "La scheda raccoglie i dati personali (cognome, nome, codice fiscale, sesso, data "
            "e comune di nascita, partita IVA, residenza, stato civile e familiari a carico), i "
            "recapiti (recapito preferenziale, telefoni, fax, e-mail, titolo di studio e "
            "professione), le coordinate bancarie e la carta di credito, i prodotti e servizi "
            "di interesse, le modalità di pagamento e le note; sulla destra trovano posto il "
            "documento di identità, il codice cliente, la categoria e la zona di appartenenza. "
            "Le province si scelgono dall'elenco o si digitano."),
        QStringLiteral(
            "Per un acquisto rateale si registrano l'acquisto effettuato, la data di "
            "decorrenza dei pagamenti, la data di scadenza della prossima rata, i giorni di "
            "preavviso, l'importo totale, il frazionamento e l'importo della singola rata. Il "
            "pulsante delle rate in scadenza elenca i clienti la cui prossima rata scade entro "
            "i giorni di preavviso oppure è già scaduta; con un doppio clic la scheda del "
            "cliente viene richiamata. Quando una rata è stata pagata si aggiorna a mano la "
            "data della prossima scadenza e si salva la scheda: fino ad allora il cliente resta "
            "nell'elenco. Anche i clienti senza acquisti rateali vi compaiono quando la loro "
            "data di scadenza è raggiunta: per loro conviene indicare una scadenza lontana."),
        QStringLiteral(
            "Il pulsante della cartella crea, se non esiste ancora, una cartella riservata al "
            "cliente all'interno della cartella del programma (Cliente_ seguito dalla posizione "
            "della scheda in archivio) e la apre con il gestore dei file, dove si possono "
            "conservare documenti di ogni genere; la scheda deve essere già stata salvata. Con "
            "Allega file si abbinano inoltre alla scheda fino a tre file, ciascuno con la sua "
            "descrizione, che vengono copiati nella cartella Documenti_Allegati."),
        QStringLiteral(
            "Per inserire un nuovo cliente si preme Nuovo, si compilano i campi e si preme "
            "Salva. Sono obbligatori il cognome, il nome, la data di decorrenza, la data di "
            "scadenza della prossima rata, che non può essere anteriore alla decorrenza, e i "
            "giorni di preavviso; le date si scrivono nel formato gg/mm/aaaa e una nuova scheda "
            "le propone già compilate con la data odierna e zero giorni di preavviso. Una "
            "scheda archiviata si richiama con il pulsante Trova o con le frecce di "
            "scorrimento, e Salva la aggiorna."),
        QStringLiteral(
            "I pulsanti accanto al codice fiscale, alla partita IVA, all'IBAN e al numero della "
            "carta di credito ne verificano la correttezza; per una partita IVA valida viene "
            "indicato anche l'Ufficio IVA provinciale che l'ha rilasciata, per una carta il suo "
            "circuito. Se il campo del codice fiscale contiene soltanto cifre, viene "
            "controllato come partita IVA. Il pulsante accanto all'indirizzo e-mail apre il "
            "programma di posta elettronica con un nuovo messaggio indirizzato al cliente."),
        QStringLiteral(
            "La ricerca trova i clienti a partire da una o più parole scritte in uno o più "
            "campi contemporaneamente (cognome, nome, codice cliente, categoria, codice "
            "fiscale, partita IVA, zona, prodotti di interesse, acquisto rateale e note), e "
            "l'elenco dei risultati si può stampare. Il pulsante Esporta trasferisce l'intero "
            "archivio in un file di Microsoft Excel, Clienti.xls, e Stampa stampa la scheda "
            "visualizzata."),
    };
}

// The supplier card's paragraphs; the main menu leaves out the one about new, save and
// recall (index kSupplierNewSave).
constexpr int kSupplierNewSave = 3;

QStringList supplierParagraphs()
{
    return {
        QStringLiteral(
            "L'Archivio Fornitori conserva i dati delle ditte da cui l'azienda si rifornisce. "
            "I dati di un fornitore si importano nelle schede prodotto, così che la "
            "denominazione, il recapito e la modalità di ordine non vadano digitati ogni "
            "volta; l'archivio funziona inoltre da rubrica elettronica, con l'invio di messaggi "
            "di posta elettronica e la verifica del codice fiscale, della partita IVA, "
            "dell'IBAN e del numero della carta di credito."),
        QStringLiteral(
            "La scheda è divisa in cinque sezioni: i dati della ditta (denominazione, titolare "
            "o responsabile, recapito preferenziale, indirizzo, città, provincia, CAP e "
            "modalità di pagamento concordate), i telefoni, il fax e l'e-mail, i dati fiscali e "
            "bancari (codice fiscale, carta di credito, partita IVA e IBAN), i dati commerciali "
            "e infine le questioni in sospeso con le note."),
        QStringLiteral(
            "Nei campi Articoli forniti, Offerte e sconti e Modalità di ordine merce si "
            "annotano i prodotti che si acquistano abitualmente dal fornitore, le condizioni "
            "ottenute e il modo in cui si effettuano gli ordini (telefono, e-mail, sito "
            "Internet, agente); la modalità di ordine è uno dei dati che vengono importati "
            "nella scheda prodotto. Il campo Note accoglie ogni altra informazione utile."),
        QStringLiteral(
            "Per inserire un nuovo fornitore si preme Nuovo, si compilano i campi e si preme "
            "Salva; l'unico dato obbligatorio è la denominazione della ditta. Una scheda "
            "archiviata si richiama con il pulsante Trova o scorrendo l'archivio con le "
            "frecce, e Salva la aggiorna."),
        QStringLiteral(
            "Il pulsante Duplica, disponibile dopo che la scheda è stata inserita in archivio, "
            "crea una nuova scheda con gli stessi dati di quella visualizzata, esclusi i file "
            "allegati. Serve a tenere una scheda distinta per ogni linea di prodotti di uno "
            "stesso fornitore, con articoli, sconti e modalità di ordine propri: in questo modo "
            "l'importazione nella scheda prodotto riporta i dati giusti per ogni articolo."),
        QStringLiteral(
            "Nel campo Questioni in sospeso si annotano i problemi aperti con il fornitore, "
            "come un reso da concordare o una consegna in ritardo. Spuntando la casella Da "
            "ricontattare il fornitore compare nell'elenco dei fornitori da ricontattare, che "
            "si apre con l'apposito pulsante e riporta per ciascuno la ditta, il responsabile, "
            "il recapito preferenziale e le questioni in sospeso; l'elenco si può stampare e, "
            "con un doppio clic, il fornitore viene richiamato nella scheda. Risolte le "
            "questioni, si toglie il segno di spunta e si salva la scheda."),
        QStringLiteral(
            "La ricerca permette di combinare più filtri contemporaneamente: denominazione, "
            "titolare, partita IVA, codice fiscale, indirizzo, città, articoli forniti, offerte "
            "e sconti, questioni in sospeso e note. Basta scrivere una o più parole consecutive "
            "nei campi desiderati: vengono elencati i fornitori che le contengono in tutti i "
            "campi compilati, e l'elenco dei risultati si può stampare."),
        QStringLiteral(
            "Con Allega file si abbinano alla scheda fino a tre file, per esempio listini, "
            "cataloghi o contratti, ciascuno con una descrizione; i file vengono copiati nella "
            "cartella Documenti_Allegati del programma e si aprono con il programma associato. "
            "Dopo Applica e chiudi occorre salvare la scheda."),
        QStringLiteral(
            "La scheda visualizzata si può vedere in anteprima, stampare o salvare come "
            "documento PDF nel file Fornitore.pdf della cartella del programma, che il "
            "programma propone poi di aprire. Il pulsante Esporta trasferisce l'intero archivio "
            "dei fornitori in un file di Microsoft Excel, Fornitori.xls."),
    };
}

QStringList menuParagraphs()
{
    QStringList paragraphs {
        QStringLiteral(
            "Merventa 2.0 è il programma per la gestione del magazzino della piccola impresa: "
            "tiene una scheda per ogni articolo con la giacenza, i prezzi e i dati di "
            "acquisto, registra ogni carico e scarico di merce nell'archivio annuale dei "
            "movimenti, produce i riepiloghi dei movimenti, l'inventario con il valore "
            "complessivo della merce e l'elenco degli articoli in esaurimento. Accanto al "
            "magazzino gestisce l'anagrafica dei clienti, con il controllo dei pagamenti "
            "rateali, e l'archivio dei fornitori."),
        QStringLiteral(
            "Dal menu principale si accede alle sei aree di lavoro facendo clic sulla relativa "
            "immagine o sul pulsante sottostante: Anagrafica Clienti, Archivio Fornitori, "
            "Magazzino Prodotti, Inventario Merce e i riepiloghi dei movimenti di carico e di "
            "scarico; chiudendo un'area di lavoro si torna al menu. Ogni schermata ha un "
            "pulsante Guida che ne descrive le funzioni, e questa guida è disponibile anche in "
            "formato PDF con il collegamento in fondo alla finestra. L'icona in basso a destra "
            "chiude il programma: i dati vengono registrati soltanto quando si preme Salva "
            "nelle singole schede."),
        QStringLiteral(
            "Il Magazzino Prodotti raccoglie una scheda per ogni articolo, con i dati "
            "identificativi (codice, tipologia, marca, modello, descrizione, accessori e, con "
            "il pulsante Altre informazioni, altezza, larghezza, lunghezza e scadenza), i dati "
            "di approvvigionamento (fornitore, recapito, data e documento di acquisto, modalità "
            "di ordine), la giacenza, i prezzi e la collocazione in magazzino. I dati del "
            "fornitore si importano direttamente dall'archivio Fornitori con la piccola icona "
            "posta accanto al recapito preferenziale."),
    };
    paragraphs += productParagraphs().mid(2);
    paragraphs += movementParagraphs();
    paragraphs += inventoryParagraphs();
    paragraphs += customerParagraphs();
    QStringList suppliers = supplierParagraphs();
    suppliers.removeAt(kSupplierNewSave);
    paragraphs += suppliers;
    paragraphs += {
        QStringLiteral(
            "Tutti gli archivi, compresi i movimenti di ciascun anno, si esportano in file di "
            "Microsoft Excel con il pulsante Esporta delle rispettive schermate. I file, "
            "salvati nella cartella del programma, si aprono con Excel o con altri fogli di "
            "calcolo compatibili, come LibreOffice Calc, per ordinare, filtrare, preparare "
            "grafici e stampe personalizzate."),
        QStringLiteral(
            "L'accesso al programma è protetto da una password, che l'utente autorizzato può "
            "cambiare in qualsiasi momento con il pulsante Cambia password della schermata di "
            "accesso; si consiglia una password di almeno otto caratteri, difficile da "
            "indovinare. Le lettere dalla A alla Z si possono digitare indifferentemente in "
            "maiuscolo o in minuscolo. Per il primo accesso si usa la password iniziale "
            "fornita con l'installazione, riportata nelle note di installazione (file "
            "README): è bene sostituirla subito con una password personale."),
        QStringLiteral(
            "Tutti gli archivi si trovano nella cartella del programma. Collocando il programma "
            "in una cartella condivisa della rete locale, ogni computer autorizzato può "
            "avviarlo da lì e lavorare sugli stessi archivi. Il programma non impedisce l'uso "
            "contemporaneo da parte di più postazioni: è bene evitare che due persone "
            "modifichino nello stesso momento la stessa scheda."),
        QStringLiteral(
            "Poiché il programma e i suoi archivi risiedono in un'unica cartella, la si può "
            "copiare su una chiavetta USB o su un disco esterno e avviare il programma "
            "direttamente da lì, anche su un altro computer. La copia della cartella è anche "
            "il modo più rapido per eseguire il backup di tutti gli archivi, compresi i file "
            "allegati, le cartelle dei clienti e la password: conviene farla regolarmente."),
        QStringLiteral(
            "Merventa 2.0 è pensato per essere semplice e immediato: bastano pochi minuti per "
            "prendere confidenza con le sue funzioni. Per informazioni, suggerimenti e "
            "segnalazioni si possono usare il sito Internet e l'indirizzo di posta elettronica "
            "indicati nella finestra delle informazioni, che si apre con l'icona in alto a "
            "sinistra del menu principale. Buon lavoro!"),
    };
    return paragraphs;
}

// The five exports share three topics; what differs is the archive, the file and the
// columns that can be corrected in the grid.
QStringList exportParagraphs(const QString &archive, const QString &fileName,
    const QString &editableColumns, const QString &replacement)
{
    return {
        QStringLiteral("Questa funzione trasferisce %1 in un file di Microsoft Excel, %2, "
                       "salvato nella cartella del programma. Il file si apre con Microsoft "
                       "Excel e con gli altri fogli di calcolo che ne leggono il formato, come "
                       "LibreOffice Calc, per ordinare, filtrare, stampare o elaborare i dati.")
            .arg(archive, fileName),
        QStringLiteral("All'apertura della finestra la griglia mostra tutte le schede, una per "
                       "riga. Alcune colonne (%1) si possono correggere direttamente nella "
                       "griglia prima dell'esportazione: le correzioni valgono solo per il file "
                       "e non modificano l'archivio. Per esportare si fa clic sull'icona del "
                       "foglio di calcolo e si conferma; al termine il programma chiede se "
                       "aprire subito il file. L'icona Esporta .xlsx scrive gli stessi dati "
                       "nel formato più recente di Excel, nel file %2, dove importi e quantità "
                       "sono numeri che il foglio di calcolo può sommare.")
            .arg(editableColumns, fileName + QLatin1Char('x')),
        QStringLiteral("%1 Per conservare una copia, per esempio alla fine di ogni mese, si "
                       "apre il file con il foglio di calcolo e lo si salva con un nome a "
                       "piacere, anche in un'altra cartella. Se il file è aperto in Excel, "
                       "prima di ripetere l'esportazione occorre chiuderlo.")
            .arg(replacement),
    };
}

QStringList labelParagraphs()
{
    return {
        QStringLiteral(
            "Il codice articolo è anche il codice a barre: nella scheda Magazzino Prodotti la "
            "casella Codice a barre, accanto alla riga delle informazioni, si raggiunge da "
            "qualunque campo con il tasto F3. Si digita un codice e si preme Invio, oppure lo si "
            "legge con un lettore di codici a barre USB o Bluetooth, che lo scrive da solo "
            "seguito da Invio: la scheda mostra l'articolo con quel codice, come se lo si fosse "
            "raggiunto con le frecce, senza distinguere tra maiuscole e minuscole e senza "
            "badare agli spazi all'inizio e alla fine."),
        QStringLiteral(
            "Dopo ogni lettura la casella si svuota e resta pronta per la successiva. Se più "
            "schede hanno lo stesso codice viene mostrata la prima e la riga delle informazioni "
            "dice quante sono. Se nessuna scheda ha il codice letto, il programma chiede se "
            "creare una nuova scheda con quel codice già scritto. Una lettura fatta mentre è "
            "aperto un messaggio viene ignorata, così il lettore non risponde mai al posto "
            "dell'utente: basta ripeterla dopo aver chiuso il messaggio."),
        QStringLiteral(
            "Il pulsante Etichette della scheda stampa le etichette dell'articolo mostrato; "
            "quello dell'inventario stampa le etichette di tutti gli articoli in elenco, "
            "nell'ordine dell'elenco. Ogni etichetta riporta la descrizione (o marca e modello "
            "quando la descrizione manca), il prezzo IVA inclusa, il codice scritto e il codice "
            "a barre: EAN-13, EAN-8 o UPC-A per i codici di 13, 8 o 12 cifre con la cifra di "
            "controllo esatta, Code 128 per tutti gli altri."),
        QStringLiteral(
            "Nella finestra Etichette si sceglie il formato (fogli A4 da 24, 21, 14 o 40 "
            "etichette, oppure il rotolo con un'etichetta da 62 x 29 mm per pagina), il numero "
            "di copie per articolo o, dall'inventario, un'etichetta per ogni pezzo in giacenza, "
            "l'etichetta da cui iniziare per riutilizzare un foglio già in parte usato e se "
            "stampare il prezzo. Anteprima mostra le pagine, Stampa apre la finestra di stampa "
            "e Crea PDF salva il file Etichette.pdf nella cartella del programma, poi chiede se "
            "aprirlo. Con migliaia di etichette la preparazione richiede qualche istante: la "
            "barra di avanzamento mostra a che punto è il lavoro e il pulsante Annulla (o il "
            "tasto Esc) lo interrompe. Un'anteprima annullata non viene mostrata, una creazione "
            "del PDF annullata lascia il file Etichette.pdf precedente com'era e una stampa "
            "annullata mentre le etichette vengono preparate non invia nulla alla stampante."),
        QStringLiteral(
            "Un codice con lettere accentate o altri caratteri non previsti dai codici a barre, "
            "o troppo lungo per stare leggibile sull'etichetta scelta, viene stampato solo come "
            "testo: la finestra Etichette e l'anteprima elencano questi codici, e con un "
            "formato più largo il codice a barre può tornare a starci."),
    };
}

QString replacedAtEveryExport(const QString &fileName)
{
    return QStringLiteral("Ogni esportazione sostituisce il file %1 precedente.").arg(fileName);
}

QString replacedByAnyYear(const QString &fileName)
{
    return QStringLiteral("Il nome del file non contiene l'anno: ogni esportazione, di "
                          "qualunque anno, sostituisce il file %1 precedente.")
        .arg(fileName);
}

struct Entry
{
    QString key;
    HelpTopic topic;
};

QList<Entry> buildTopics()
{
    const QString products = QStringLiteral("Magazzino.xls");
    const QString suppliers = QStringLiteral("Fornitori.xls");
    const QString customers = QStringLiteral("Clienti.xls");
    const QString loads = QStringLiteral("Registro_Carico.xls");
    const QString unloads = QStringLiteral("Registro_Scarico.xls");
    return {
        { QStringLiteral("TfrmAvvio"),
            { QStringLiteral("Uno sguardo a Merventa 2.0."), menuParagraphs() } },
        { QStringLiteral("TfrmMagazzino"),
            { QStringLiteral("Magazzino Prodotti."), productParagraphs() } },
        { QStringLiteral("TfrmRiepilogoCarico"),
            { QStringLiteral("Riepilogo Movimenti."), movementParagraphs() } },
        { QStringLiteral("TfrmMenuRiepilogo"),
            { QStringLiteral("Inventario Merce."), inventoryParagraphs() } },
        { QStringLiteral("TfrmEtichette"),
            { QStringLiteral("Codici a barre ed etichette."), labelParagraphs() } },
        { QStringLiteral("TfrmAnagrafica"),
            { QStringLiteral("Anagrafica Clienti."), customerParagraphs() } },
        { QStringLiteral("TfrmGrafici"), { QStringLiteral("Grafici."), chartParagraphs() } },
        { QStringLiteral("TfrmFornitori"),
            { QStringLiteral("Archivio Fornitori."), supplierParagraphs() } },
        { QStringLiteral("TfrmExpMagazzino"),
            { QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Excel."),
                exportParagraphs(QStringLiteral("l'intero archivio dei prodotti e servizi"),
                    products, QStringLiteral("accessori, altezza, larghezza, lunghezza e scadenza"),
                    replacedAtEveryExport(products)) } },
        { QStringLiteral("TfrmExpClienti"),
            { QStringLiteral("Esportazione archivio Clienti in Microsoft Excel."),
                exportParagraphs(QStringLiteral("l'intero archivio dei Clienti"), customers,
                    QStringLiteral("per esempio partita IVA, comune di residenza, "
                                   "telefono, IBAN, documento, codice cliente e note"),
                    replacedAtEveryExport(customers)) } },
        { QStringLiteral("TfrmExpFornitori"),
            { QStringLiteral("Esportazione archivio Fornitori in Microsoft Excel."),
                exportParagraphs(QStringLiteral("l'intero archivio dei Fornitori"), suppliers,
                    QStringLiteral("per esempio città, CAP, partita IVA, IBAN, articoli "
                                   "forniti, offerte, questioni in sospeso e note"),
                    replacedAtEveryExport(suppliers)) } },
        { QStringLiteral("TfrmImporta"),
            { QStringLiteral("Importazione da fogli di calcolo e file CSV."),
                {
                    QStringLiteral(
                        "Il pulsante Importa delle schede Magazzino Prodotti, Anagrafica Clienti "
                        "e Archivio Fornitori apre la schermata che aggiunge all'archivio le "
                        "schede lette da un foglio di calcolo di Microsoft Excel (.xlsx e .xls), "
                        "di LibreOffice o OpenOffice (.ods) o da un file di testo CSV (.csv o "
                        ".txt, con i valori separati da punto e virgola, virgola o tabulazione)."),
                    QStringLiteral(
                        "Indicare il file con Sfoglia, oppure scriverne il percorso e premere "
                        "Invio. Se il file contiene più fogli, scegliere quello da importare. "
                        "Quando la prima riga contiene i nomi delle colonne la casella \"La "
                        "prima riga contiene i nomi delle colonne\" risulta già spuntata e ogni "
                        "campo dell'archivio viene associato alla colonna con lo stesso nome o "
                        "con un nome equivalente (per esempio Quantità per la giacenza, P.IVA "
                        "per la partita IVA). Le associazioni si possono cambiare; i campi "
                        "associati a \"(non importare)\" restano vuoti."),
                    QStringLiteral(
                        "L'anteprima mostra le prime righe come saranno registrate: importi con "
                        "due decimali, date nella forma gg/mm/aaaa, prezzo con IVA e valore "
                        "calcolati come fa il pulsante Salva. Le righe in rosso saranno scartate "
                        "(per esempio manca il codice articolo, il cognome o la denominazione "
                        "della Ditta); le celle in giallo contengono testi troppo lunghi, che "
                        "saranno tagliati, o caratteri che l'archivio non può registrare. "
                        "Fermando il mouse su una cella se ne legge il motivo."),
                    QStringLiteral(
                        "Le schede già presenti in archivio sono riconosciute dal codice "
                        "articolo, dal codice fiscale del Cliente (o da cognome, nome e "
                        "telefono) e dalla partita IVA del Fornitore (o dalla denominazione). "
                        "Si può scegliere se saltarle, aggiornarle con i valori del file o "
                        "aggiungerle comunque."),
                    QStringLiteral(
                        "Prima di scrivere, l'archivio viene copiato nella cartella Backup con "
                        "un nome che indica l'importazione. L'importazione avviene tutta in una "
                        "volta: se viene annullata o non riesce, l'archivio resta com'era. Le "
                        "righe scartate sono scritte, con il motivo, nel file "
                        "Scarti_importazione.csv nella cartella del programma: una volta "
                        "corrette si possono importare di nuovo."),
                } } },
        { QStringLiteral("TfrmArchivi"),
            { QStringLiteral("Archivi su un server."),
                {
                    QStringLiteral(
                        "Di solito gli archivi di Merventa sono file nella cartella del "
                        "programma. Un negozio con più computer, per esempio la cassa e "
                        "l'ufficio, può tenerli invece su un server PostgreSQL, installato su "
                        "uno dei computer o su un NAS: ogni computer lavora allora sugli stessi "
                        "prodotti, clienti, fornitori e movimenti. Il pulsante Archivi del menu "
                        "principale apre la finestra in cui si sceglie dove si trovano."),
                    QStringLiteral(
                        "Scegliere \"Archivi su un server PostgreSQL\" e scrivere il nome o "
                        "l'indirizzo del server, la porta (di solito 5432), il nome del "
                        "database, l'utente e la password ricevuti da chi ha installato il "
                        "server. Prova connessione controlla che il server risponda e dice, in "
                        "caso contrario, che cosa non va. Applica salva le impostazioni nel file "
                        "Impostazioni.ini accanto al programma e da quel momento usa gli "
                        "archivi scelti; se il server non risponde le impostazioni restano "
                        "quelle di prima."),
                    QStringLiteral(
                        "La prima volta, dal computer che ha gli archivi, il pulsante "
                        "\"Trasferisci sul server gli archivi di questa cartella\" li copia sul "
                        "server: una barra mostra l'avanzamento e Annulla interrompe senza "
                        "cambiare nulla. Se il server contiene già degli archivi il programma "
                        "chiede prima se sostituirli. \"Copia in questa cartella gli archivi "
                        "del server\" fa il contrario: riporta gli archivi del server nella "
                        "cartella del programma, dopo averlo chiesto."),
                    QStringLiteral(
                        "La password del server non è scritta in chiaro nel file "
                        "Impostazioni.ini, ma è solo offuscata: la vera protezione è il file "
                        "stesso, che il programma rende leggibile soltanto all'utente del "
                        "computer che lo ha creato. La password di accesso al programma resta "
                        "diversa per ogni computer."),
                    QStringLiteral(
                        "Se all'avvio il server non risponde, il programma lo dice entro pochi "
                        "secondi e chiede se aprire le impostazioni degli archivi; rispondendo "
                        "No si lavora, per quella volta, sugli archivi della cartella del "
                        "programma. La cartella dei documenti dei clienti indica dove tenere le "
                        "cartelle dei clienti: con più computer conviene una cartella condivisa "
                        "in rete."),
                } } },
        { QStringLiteral("TfrmExpCarico"),
            { QStringLiteral("Esportazione archivio movimenti di carico merce in Microsoft Excel."),
                exportParagraphs(
                    QStringLiteral("tutti i movimenti di carico merce dell'anno indicato "
                                   "nella schermata di selezione"),
                    loads, QStringLiteral("ora, codice articolo, modello e note"),
                    replacedByAnyYear(loads)) } },
        { QStringLiteral("TfrmExpScarico"),
            { QStringLiteral(
                  "Esportazione archivio movimenti di scarico merce in Microsoft Excel."),
                exportParagraphs(QStringLiteral("tutti i movimenti di scarico merce dell'anno "
                                                "indicato nella schermata di selezione"),
                    unloads, QStringLiteral("ora, codice articolo, modello e note"),
                    replacedByAnyYear(unloads)) } },
    };
}

const QList<Entry> &topics()
{
    static const QList<Entry> all = buildTopics();
    return all;
}

// Screens that show the text of another screen.
QString canonicalKey(const QString &screenClass)
{
    static const QHash<QString, QString> aliases {
        { QStringLiteral("TfrmRiepilogo"), QStringLiteral("TfrmMenuRiepilogo") },
        { QStringLiteral("TfrmRiepilogoScarico"), QStringLiteral("TfrmRiepilogoCarico") },
        { QStringLiteral("TfrmMenuRiepilogoCarico"), QStringLiteral("TfrmRiepilogoCarico") },
        { QStringLiteral("TfrmMenuRiepilogoScarico"), QStringLiteral("TfrmRiepilogoCarico") },
    };
    return aliases.value(screenClass, screenClass);
}

} // namespace

HelpTopic helpTopic(const QString &screenClass)
{
    const QString key = canonicalKey(screenClass);
    for (const Entry &entry : topics()) {
        if (entry.key == key)
            return entry.topic;
    }
    return {};
}

QStringList helpDocumentOrder()
{
    QStringList keys;
    for (const Entry &entry : topics())
        keys.append(entry.key);
    return keys;
}
