#pragma once

// The maker's page of further games, opened by the settings dialog's
// "Get new games" button.
constexpr char GamesPageHost[] = "www.vornel.com";
constexpr char GamesPageAddress[] = "http://www.vornel.com/cgi-bin/screen.pl/games.html?r=h&c=b";
