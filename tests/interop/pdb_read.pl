#!/usr/bin/perl
# Reads a Palm database with Debian's Palm::PDB modules and prints its header and records in the
# form of "kxcli pdb dump" (without the fields those modules do not keep).
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;
use POSIX qw(strftime);

use constant EPOCH_1904 => 2082844800;
my %database_flags = (resource => 0x1, 'read-only' => 0x2, 'AppInfo dirty' => 0x4, backup => 0x8,
    'OK newer' => 0x10, reset => 0x20, open => 0x8000, launchable => 0x200);
my %record_flags = (expunged => 0x80, dirty => 0x40, deleted => 0x20, private => 0x10,
    archive => 0x08);

sub flags {
    my ($set, $table) = @_;
    my $value = 0;
    $value |= $table->{$_} for grep { exists $table->{$_} } keys %$set;
    return $value;
}

sub text {
    my ($bytes) = @_;
    $bytes =~ s/\0.*//s;
    $bytes =~ s/([\x01-\x1f])/sprintf("\\x%02X", ord $1)/ge;
    return $bytes;
}

sub date {
    my ($label, $unix) = @_;
    my $raw = $unix + EPOCH_1904;
    printf "%s: %u %s\n", $label, $raw, strftime("%Y-%m-%d %H:%M:%S", gmtime($unix));
}

binmode STDOUT;
my $file = shift or die "usage: pdb_read.pl FILE\n";
my $pdb = Palm::PDB->new;
$pdb->Load($file) or die "cannot load $file\n";
printf "name: %s\n", text($pdb->{name});
printf "attributes: %u\n", flags($pdb->{attributes}, \%database_flags);
printf "version: %u\n", $pdb->{version};
date("created", $pdb->{ctime});
date("modified", $pdb->{mtime});
date("backed up", $pdb->{baktime});
printf "modification number: %u\n", $pdb->{modnum};
printf "type: %s\ncreator: %s\n", text($pdb->{type}), text($pdb->{creator});
printf "unique id seed: %u\n", $pdb->{uniqueIDseed};
my @records = @{$pdb->{records}};
printf "records: %u\n", scalar @records;
for my $i (0 .. $#records) {
    my $record = $records[$i];
    my $attributes = flags($record->{attributes}, \%record_flags) | ($record->{category} // 0);
    printf "record %d: offset %u, attributes %u, id %u, %u bytes: %s\n", $i, $record->{offset},
        $attributes, $record->{id}, length $record->{data}, text($record->{data});
}
