#!/usr/bin/perl
# Writes a Palm database of text records with Debian's Palm::PDB modules, as a handheld backup
# would hold it: pdb_write.pl FILE NAME RECORD...
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my ($file, $name, @texts) = @ARGV;
die "usage: pdb_write.pl FILE NAME RECORD...\n" unless defined $name;
my $pdb = Palm::Raw->new;
$pdb->{name} = $name;
$pdb->{type} = "DATA";
$pdb->{creator} = "Kvxr";
$pdb->{version} = 1;
$pdb->{attributes}{backup} = 1;
for my $i (0 .. $#texts) {
    my $record = $pdb->append_Record;
    $record->{data} = "$texts[$i]\0";
    $record->{id} = 0x100 + $i;
}
$pdb->{ctime} = 1055945100; # 2003-06-18 14:05 as the local clock of the handheld
$pdb->{mtime} = 1055945100;
$pdb->Write($file) or die "cannot write $file\n";
